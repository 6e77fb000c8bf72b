#pragma once
// Tells whether a file's bytes are one whole MP3 stream before the decoder is given it: the
// decoder would play a cut-off file up to the cut, or make noise from random bytes that happen to
// look like frames.
#include <cstddef>

// True for MPEG layer III frames of one version and sample rate from after any ID3v2 tag to the
// end of the data or an ID3v1 tag, with at least one audio frame and, when the encoder recorded
// its frame count in a leading Xing/Info frame, exactly that many. Free-format frames, whose
// length the header does not give, are refused.
bool isWholeMp3(const unsigned char* data, std::size_t size);
