#include "backdrop/Palette.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

// k-means passes after the median cut, each moving every entry to the mean of the colours nearest
// it. Eight halve the samples a backdrop leaves far from their drawn colour; more change little.
constexpr int kRefinePasses = 8;

using Packed = std::uint32_t;  // 0xRRGGBB

int channel(Packed c, int k) { return static_cast<int>((c >> (16 - 8 * k)) & 0xFF); }
Packed pixelAt(const std::vector<std::uint8_t>& rgb, size_t i) {
  return Packed{rgb[i * 3]} << 16 | Packed{rgb[i * 3 + 1]} << 8 | rgb[i * 3 + 2];
}

struct Colour {
  Packed rgb;
  std::uint64_t weight;
};

// Whole square root, exact for every count a picture can hold.
std::uint64_t wholeSqrt(std::uint64_t n) {
  auto r = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(n)));
  while (r * r > n) --r;
  while ((r + 1) * (r + 1) <= n) ++r;
  return r;
}

// Every distinct colour of the picture, in increasing order, weighted by the square root of its
// pixel count: the sky and the stone still get most entries, but a small bright detail (an
// exit's glow, a flame) gets enough of its own not to break into bands.
std::vector<Colour> distinctColours(const std::vector<std::uint8_t>& rgb) {
  std::vector<Packed> packed(rgb.size() / 3);
  for (size_t i = 0; i < packed.size(); ++i) packed[i] = pixelAt(rgb, i);
  std::sort(packed.begin(), packed.end());
  std::vector<Colour> colours;
  for (size_t i = 0; i < packed.size();) {
    size_t j = i;
    while (j < packed.size() && packed[j] == packed[i]) ++j;
    colours.push_back({packed[i], wholeSqrt(j - i)});
    i = j;
  }
  return colours;
}

// Weighted sums over a run of colours, per channel.
struct Moments {
  std::uint64_t weight = 0;
  std::uint64_t sum[3] = {0, 0, 0};
  std::uint64_t squares[3] = {0, 0, 0};

  void add(const Colour& c) {
    weight += c.weight;
    for (int k = 0; k < 3; ++k) {
      const std::uint64_t v = channel(c.rgb, k);
      sum[k] += c.weight * v;
      squares[k] += c.weight * v * v;
    }
  }
  // Weighted sum of squared deviations from the mean along channel k (weight times variance).
  std::uint64_t spread(int k) const { return (squares[k] * weight - sum[k] * sum[k]) / weight; }
  Packed mean() const {
    Packed c = 0;
    for (int k = 0; k < 3; ++k) c = c << 8 | static_cast<Packed>((sum[k] + weight / 2) / weight);
    return c;
  }
};

// A run [begin, end) of the colour list, its total spread and the channel it spreads most along.
struct Box {
  size_t begin, end;
  std::uint64_t spread;
  int axis;
};

Box makeBox(const std::vector<Colour>& colours, size_t begin, size_t end) {
  Moments m;
  for (size_t i = begin; i < end; ++i) m.add(colours[i]);
  Box box{begin, end, 0, 0};
  for (int k = 0; k < 3; ++k) {
    box.spread += m.spread(k);
    if (m.spread(k) > m.spread(box.axis)) box.axis = k;
  }
  return box;
}

// Median cut: splits the box of largest spread at the weighted median of its widest channel
// until there are kPaletteSize boxes. Reorders `colours`.
std::vector<Box> medianCut(std::vector<Colour>& colours) {
  std::vector<Box> boxes{makeBox(colours, 0, colours.size())};
  while (boxes.size() < static_cast<size_t>(kPaletteSize)) {
    size_t widest = 0;
    for (size_t b = 1; b < boxes.size(); ++b)
      if (boxes[b].spread > boxes[widest].spread) widest = b;
    const Box box = boxes[widest];
    if (box.spread == 0) break;  // every box is one colour
    const auto first = colours.begin() + static_cast<long>(box.begin);
    const auto last = colours.begin() + static_cast<long>(box.end);
    std::sort(first, last, [axis = box.axis](const Colour& a, const Colour& b) {
      const int ca = channel(a.rgb, axis), cb = channel(b.rgb, axis);
      return ca != cb ? ca < cb : a.rgb < b.rgb;
    });
    std::uint64_t total = 0, below = 0;
    for (auto c = first; c != last; ++c) total += c->weight;
    size_t cut = box.begin;
    while (cut < box.end - 1 && (below + colours[cut].weight) * 2 <= total)
      below += colours[cut++].weight;
    cut = std::max(cut, box.begin + 1);
    boxes[widest] = makeBox(colours, box.begin, cut);
    boxes.push_back(makeBox(colours, cut, box.end));
  }
  return boxes;
}

int squaredDistance(Packed a, Packed b) {
  int d = 0;
  for (int k = 0; k < 3; ++k) {
    const int step = channel(a, k) - channel(b, k);
    d += step * step;
  }
  return d;
}

// The entry nearest the colour; the lowest index among equals.
std::uint8_t nearest(const std::vector<Packed>& entries, Packed c) {
  size_t best = 0;
  int bestDistance = squaredDistance(entries[0], c);
  for (size_t e = 1; e < entries.size() && bestDistance > 0; ++e) {
    const int d = squaredDistance(entries[e], c);
    if (d < bestDistance) bestDistance = d, best = e;
  }
  return static_cast<std::uint8_t>(best);
}

// Moves each entry to the weighted mean of the colours nearest it; an entry no colour is nearest
// stays where it is.
void refine(std::vector<Packed>& entries, const std::vector<Colour>& colours) {
  std::vector<Moments> members(entries.size());
  for (const Colour& c : colours) members[nearest(entries, c.rgb)].add(c);
  for (size_t e = 0; e < entries.size(); ++e)
    if (members[e].weight > 0) entries[e] = members[e].mean();
}

}  // namespace

IndexedPicture quantise(const std::vector<std::uint8_t>& rgb) {
  const std::vector<Colour> sorted = distinctColours(rgb);
  std::vector<Packed> entries;
  if (sorted.size() <= static_cast<size_t>(kPaletteSize)) {
    for (const Colour& c : sorted) entries.push_back(c.rgb);
  } else {
    std::vector<Colour> colours = sorted;
    for (const Box& box : medianCut(colours)) {
      Moments m;
      for (size_t i = box.begin; i < box.end; ++i) m.add(colours[i]);
      entries.push_back(m.mean());
    }
    for (int pass = 0; pass < kRefinePasses; ++pass) refine(entries, sorted);
  }

  IndexedPicture out;
  for (Packed e : entries) {
    out.palette.push_back({static_cast<std::uint8_t>(channel(e, 0)),
                           static_cast<std::uint8_t>(channel(e, 1)),
                           static_cast<std::uint8_t>(channel(e, 2))});
  }
  std::vector<std::uint8_t> entryOf(sorted.size());
  for (size_t i = 0; i < sorted.size(); ++i) entryOf[i] = nearest(entries, sorted[i].rgb);
  out.indices.resize(rgb.size() / 3);
  for (size_t i = 0; i < out.indices.size(); ++i) {
    const auto found = std::lower_bound(sorted.begin(), sorted.end(), pixelAt(rgb, i),
                                        [](const Colour& a, Packed b) { return a.rgb < b; });
    out.indices[i] = entryOf[static_cast<size_t>(found - sorted.begin())];
  }
  return out;
}

}  // namespace art
