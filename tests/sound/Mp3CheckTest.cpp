// The MP3 stream check on the bytes themselves: a whole file from the encoder is taken, and every
// way of damaging or padding it that the decoder would still half play is refused.
#include "sound/Mp3Check.h"

#include <algorithm>
#include <string>
#include <vector>

#include "io/FileBytes.h"
#include "tests/sound/SoundCase.h"

namespace {

bool check(const std::vector<unsigned char>& bytes) { return isWholeMp3(bytes.data(), bytes.size()); }

std::vector<unsigned char> bytesOf(const std::string& path) {
  std::vector<unsigned char> bytes;
  EXPECT_TRUE(readWholeFile(path.c_str(), bytes)) << path;
  return bytes;
}

// Where the frame count of the encoder's Xing/Info frame starts, or npos.
std::size_t frameCountOffset(const std::vector<unsigned char>& bytes) {
  for (const char* name : {"Info", "Xing"}) {
    const auto found = std::search(bytes.begin(), bytes.end(), name, name + 4);
    if (found != bytes.end()) return static_cast<std::size_t>(found - bytes.begin()) + 8;
  }
  return std::string::npos;
}

}  // namespace

class Mp3Check : public SoundCase {};

TEST_F(Mp3Check, TakesWholeStreamsAndRefusesDamagedOrPaddedOnes) {
  const std::string tagged = tones_->mp3("tone.mp3", {{kEffectHz, 0.5}}, "-b 128");
  const std::string untagged = tones_->mp3("untagged.mp3", {{kEffectHz, 0.5}}, "-b 128 -t");
  const std::string other = tones_->mp3("48k.mp3", {{kEffectHz, 0.5}}, "-b 128 -t --resample 48");
  ASSERT_FALSE(tagged.empty() || untagged.empty() || other.empty()) << "lame could not make them";
  const std::vector<unsigned char> whole = bytesOf(tagged);
  ASSERT_TRUE(check(whole));
  ASSERT_TRUE(check(bytesOf(untagged)));

  std::vector<unsigned char> cut(whole.begin(), whole.end() - 1);
  EXPECT_FALSE(check(cut)) << "last frame cut short";

  // A whole number of frames missing shows only against the encoder's frame count.
  std::vector<unsigned char> miscounted = whole;
  const std::size_t count = frameCountOffset(miscounted);
  ASSERT_NE(count, std::string::npos) << "lame wrote no Info frame";
  ++miscounted[count + 3];
  EXPECT_FALSE(check(miscounted)) << "frame count one more than the frames";

  std::vector<unsigned char> withId3v1 = whole;
  std::vector<unsigned char> id3v1(128, ' ');
  std::copy_n("TAG", 3, id3v1.begin());
  withId3v1.insert(withId3v1.end(), id3v1.begin(), id3v1.end());
  EXPECT_TRUE(check(withId3v1)) << "a trailing ID3v1 tag is allowed";
  withId3v1.push_back(0);
  EXPECT_FALSE(check(withId3v1)) << "but nothing after it";

  // An empty ID3v2 tag with its footer flag set: header, no body, footer.
  std::vector<unsigned char> withId3v2 = {'I', 'D', '3', 4, 0, 0x10, 0, 0, 0, 0,
                                          '3', 'D', 'I', 4, 0, 0x10, 0, 0, 0, 0};
  withId3v2.insert(withId3v2.end(), whole.begin(), whole.end());
  EXPECT_TRUE(check(withId3v2)) << "a leading ID3v2 tag and its footer are skipped";

  std::vector<unsigned char> mixed = bytesOf(untagged);
  const std::vector<unsigned char> otherRate = bytesOf(other);
  mixed.insert(mixed.end(), otherRate.begin(), otherRate.end());
  EXPECT_FALSE(check(mixed)) << "frames of two sample rates";

  EXPECT_FALSE(check(bytesOf(tones_->randomBytes("noise.mp3", 4096))));
  EXPECT_EQ(bytesOf(tones_->randomBytes("big.mp3", 200000)).size(), 200000u) << "read past 64 KiB";
  EXPECT_FALSE(check(bytesOf(tones_->text("words.mp3", "not a sound"))));
  EXPECT_FALSE(isWholeMp3(nullptr, 0));
}
