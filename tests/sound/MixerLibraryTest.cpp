// The sound library opened at run time: every function the audio layer calls resolves, and a
// library that is missing gives a clear failure with nothing printed.
#include "sound/MixerLibrary.h"

#include <gtest/gtest.h>

TEST(MixerLibrary, ResolvesEveryFunctionTheAudioLayerCalls) {
  MixerLibrary library;
  ASSERT_TRUE(loadMixerLibrary(kMixerLibraryName, library));
  const void* const functions[] = {
      reinterpret_cast<const void*>(library.initSubSystem),
      reinterpret_cast<const void*>(library.quitSubSystem),
      reinterpret_cast<const void*>(library.setHint),
      reinterpret_cast<const void*>(library.logSetOutputFunction),
      reinterpret_cast<const void*>(library.rwFromFile),
      reinterpret_cast<const void*>(library.openAudio),
      reinterpret_cast<const void*>(library.reserveChannels),
      reinterpret_cast<const void*>(library.loadMusic),
      reinterpret_cast<const void*>(library.loadWavRw),
      reinterpret_cast<const void*>(library.playMusic),
      reinterpret_cast<const void*>(library.playChannelTimed),
      reinterpret_cast<const void*>(library.freeMusic),
      reinterpret_cast<const void*>(library.getChunk),
      reinterpret_cast<const void*>(library.haltChannel),
      reinterpret_cast<const void*>(library.freeChunk),
  };
  for (const void* function : functions) EXPECT_NE(function, nullptr);
  // The table holds the library's own functions, the same ones a program linked against it calls.
  EXPECT_EQ(reinterpret_cast<const void*>(library.openAudio), reinterpret_cast<const void*>(&Mix_OpenAudio));
  EXPECT_EQ(reinterpret_cast<const void*>(library.initSubSystem),
            reinterpret_cast<const void*>(&SDL_InitSubSystem));
}

TEST(MixerLibrary, AMissingOrUnsuitableLibraryFailsQuietly) {
  for (const char* name : {"libzarvolith-no-such-library.so.0", "libz.so.1"}) {
    SCOPED_TRACE(name);
    MixerLibrary library;
    library.initSubSystem = &SDL_InitSubSystem;  // anything left over must be cleared
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(loadMixerLibrary(name, library));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(library.initSubSystem, nullptr);
    EXPECT_EQ(library.openAudio, nullptr);
  }
}
