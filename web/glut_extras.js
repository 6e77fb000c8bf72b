// The freeglut calls the game makes that emscripten's GLUT lacks, an end of the game that the
// page can see, and the frame timings the page and its tests read.
// This is the one place that reaches into emscripten's own JavaScript: it was written for
// emscripten 3.1.6 (Debian 12's), whose library_glut.js it extends and partly replaces
// (glutPostRedisplay, the keydown listener) and whose GLUT and Browser objects it uses.
// The page's other scripts use only DOM events, the game's exported functions and the audio
// context SDL keeps on Module.SDL2.
mergeInto(LibraryManager.library, {
  // The close callback runs once, when the game destroys its window (Escape, or a click after a
  // crash), as freeglut runs it on the desktop.
  glutCloseFunc__deps: ['$GLUT'],
  glutCloseFunc: function(callback) {
    GLUT.closeFunc = callback;
  },

  // The browser has no display to fail to open: a page without WebGL says so itself.
  glutInitErrorFunc: function(callback) {},

  glutGetWindow__deps: ['$GLUT'],
  glutGetWindow: function() {
    return Module.ctx && !GLUT.windowEnded ? 1 : 0;
  },

  // A held key sends repeated keydown events; with repeats ignored only the first reaches the game.
  glutIgnoreKeyRepeat__deps: ['$GLUT'],
  glutIgnoreKeyRepeat: function(ignore) {
    GLUT.ignoreKeyRepeat = ignore != 0;
    if (GLUT.repeatFilter) return;
    GLUT.repeatFilter = function(event) {
      if (GLUT.ignoreKeyRepeat && event.repeat) {
        event.preventDefault();
        return;
      }
      GLUT.onKeydown(event);
    };
    window.removeEventListener('keydown', GLUT.onKeydown, true);
    window.addEventListener('keydown', GLUT.repeatFilter, true);
  },

  // Ending the game: the close callback frees what the game holds, every callback is dropped so
  // nothing reaches the freed game, and the page is told. The canvas keeps the last frame.
  glutDestroyWindow__deps: ['$GLUT'],
  glutDestroyWindow: function(name) {
    if (GLUT.windowEnded) return;
    GLUT.windowEnded = true;
    if (GLUT.closeFunc) {{{ makeDynCall('v', 'GLUT.closeFunc') }}}();
    GLUT.displayFunc = GLUT.idleFunc = GLUT.reshapeFunc = 0;
    GLUT.keyboardFunc = GLUT.keyboardUpFunc = GLUT.specialFunc = GLUT.specialUpFunc = 0;
    GLUT.mouseFunc = GLUT.motionFunc = GLUT.passiveMotionFunc = 0;
    if (Module['onGameEnded']) Module['onGameEnded']();
  },

  // As emscripten's own, except that a frame queued before the window was destroyed finds no
  // display callback and does nothing. Each frame's time in the display callback is kept for the
  // page's figures, in a fixed ring, with the time of the first frame since the page opened.
  // SDL's audio, built as C, calls two runtime helpers from inline JavaScript that names no
  // dependencies: the game's every frame passes here, so they are pulled in here.
  glutPostRedisplay__deps: ['$GLUT', '$Browser', '$autoResumeAudioContext', '$dynCall'],
  glutPostRedisplay: function() {
    if (!GLUT.displayFunc || GLUT.requestedAnimationFrame) return;
    GLUT.requestedAnimationFrame = true;
    Browser.requestAnimationFrame(function() {
      GLUT.requestedAnimationFrame = false;
      Browser.mainLoop.runIter(function() {
        if (!GLUT.displayFunc) return;
        var start = performance.now();
        {{{ makeDynCall('v', 'GLUT.displayFunc') }}}();
        var timing = Module['frameTiming'];
        if (!timing) return;
        var end = performance.now();
        if (timing.firstFrameMs === null) timing.firstFrameMs = end;
        timing.work[timing.count % timing.work.length] = end - start;
        timing.ends[timing.count % timing.ends.length] = end;
        timing.count++;
      });
    });
  },
});
