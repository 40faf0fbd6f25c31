#include "gfx/BmpCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "gfx/Error.h"

namespace gfx {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t V4HeaderSize = 108;
constexpr std::uint32_t V5HeaderSize = 124;

enum class Compression : std::uint32_t { None = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

// RLE data can leave any part of a picture unset, so its size alone does not
// bound the picture. A 2-byte run fills at most 255 pixels; pictures larger
// than the runs could fill, plus this much, are refused before anything is
// allocated for them.
constexpr std::uint64_t RleSlackPixels = 65536;

// Palette slots past the palette's end hold this; real entries have a zero
// top byte, so one OR over a row tells whether any index was out of range.
constexpr Pixel MissingEntry = 0xFF000000u;

std::uint16_t ReadU16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t ReadU32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}
std::int32_t ReadI32(const std::uint8_t* p) { return std::int32_t(ReadU32(p)); }

std::string Str(std::uint64_t v) { return std::to_string(v); }

[[noreturn]] void Fail(const std::string& what) { throw Error("BMP: " + what); }

// One colour channel of a bit-field pixel: the bits are shifted down, masked
// and widened to 8 bits through a table (by repeating the bit pattern, so
// that full scale stays full scale).
struct Channel {
  int Shift = 0;
  std::uint32_t ValueMask = 0;
  std::array<std::uint8_t, 256> Table{};

  static Channel FromMask(std::uint32_t mask, const char* name) {
    Channel c;
    if (mask == 0) return c;  // A channel without bits reads as 0.
    int shift = std::countr_zero(mask);
    std::uint32_t bits = mask >> shift;
    if ((bits & (bits + 1)) != 0) {
      Fail(std::string(name) + " mask " + Str(mask) + " is not one run of bits");
    }
    int width = std::popcount(bits);
    if (width > 8) {
      // Only the top 8 bits matter.
      shift += width - 8;
      width = 8;
    }
    c.Shift = shift;
    c.ValueMask = (1u << width) - 1;
    for (std::uint32_t v = 0; v <= c.ValueMask; ++v) {
      std::uint32_t wide = v << (8 - width);
      for (int filled = width; filled < 8; filled *= 2) wide |= wide >> filled;
      c.Table[v] = std::uint8_t(wide);
    }
    return c;
  }

  std::uint32_t Extract(std::uint32_t pixel) const { return Table[(pixel >> Shift) & ValueMask]; }
};

struct BitFields {
  Channel Red, Green, Blue;

  Pixel Convert(std::uint32_t v) const {
    return (Red.Extract(v) << 16) | (Green.Extract(v) << 8) | Blue.Extract(v);
  }
};

// What the headers say, checked against each other and against the file.
struct Layout {
  std::uint32_t HeaderSize = 0;
  int Width = 0;
  int Height = 0;
  bool TopDown = false;
  int Bits = 0;
  Compression Kind = Compression::None;
  std::uint32_t Masks[3] = {0, 0, 0};
  std::vector<Pixel> Palette;
  std::size_t DataOffset = 0;
  std::size_t FileSize = 0;
};

const char* CompressionName(Compression c) {
  switch (c) {
    case Compression::None: return "uncompressed";
    case Compression::Rle8: return "RLE8";
    case Compression::Rle4: return "RLE4";
    case Compression::BitFields: return "bit fields";
  }
  return "?";
}

Layout ReadLayout(std::span<const std::uint8_t> data) {
  if (data.size() < FileHeaderSize) {
    Fail("file is truncated: " + Str(data.size()) + " bytes, the file header alone needs " +
         Str(FileHeaderSize));
  }
  const std::uint8_t* d = data.data();
  if (d[0] != 'B' || d[1] != 'M') Fail("not a BMP file (no \"BM\" signature)");
  Layout l;
  l.FileSize = ReadU32(d + 2);
  l.DataOffset = ReadU32(d + 10);
  if (l.FileSize > data.size()) {
    Fail("file is truncated: its header gives " + Str(l.FileSize) + " bytes, only " +
         Str(data.size()) + " are present");
  }
  // From here on everything must lie inside the file's own size.
  std::size_t size = l.FileSize;
  if (size < FileHeaderSize + 4) {
    Fail("file size " + Str(size) + " in the header is too small for the headers");
  }
  l.HeaderSize = ReadU32(d + 14);
  if (l.HeaderSize != CoreHeaderSize && l.HeaderSize != InfoHeaderSize &&
      l.HeaderSize != V4HeaderSize && l.HeaderSize != V5HeaderSize) {
    Fail("unsupported info header size " + Str(l.HeaderSize) + " (12, 40, 108 or 124)");
  }
  if (FileHeaderSize + l.HeaderSize > size) {
    Fail("info header of " + Str(l.HeaderSize) + " bytes runs past the end of the file (" +
         Str(size) + " bytes)");
  }
  const std::uint8_t* h = d + FileHeaderSize;
  std::int64_t width, height;
  int planes;
  std::uint32_t colorsUsed = 0;
  std::uint32_t compression = 0;
  bool core = l.HeaderSize == CoreHeaderSize;
  if (core) {
    width = ReadU16(h + 4);
    height = ReadU16(h + 6);
    planes = ReadU16(h + 8);
    l.Bits = ReadU16(h + 10);
  } else {
    width = ReadI32(h + 4);
    height = ReadI32(h + 8);
    planes = ReadU16(h + 12);
    l.Bits = ReadU16(h + 14);
    compression = ReadU32(h + 16);
    colorsUsed = ReadU32(h + 32);
  }
  if (planes != 1) Fail(Str(planes) + " colour planes (must be 1)");
  if (height < 0) {
    l.TopDown = true;
    height = -height;
  }
  if (width <= 0 || height == 0) {
    Fail("picture size " + std::to_string(width) + " x " + std::to_string(height) +
         " is invalid");
  }
  if (width > Bitmap::MaxSide || height > Bitmap::MaxSide) {
    Fail("picture size " + std::to_string(width) + " x " + std::to_string(height) +
         " is larger than " + Str(Bitmap::MaxSide) + " x " + Str(Bitmap::MaxSide));
  }
  l.Width = int(width);
  l.Height = int(height);

  bool bitsKnown = core ? (l.Bits == 1 || l.Bits == 4 || l.Bits == 8 || l.Bits == 24)
                        : (l.Bits == 1 || l.Bits == 4 || l.Bits == 8 || l.Bits == 16 ||
                           l.Bits == 24 || l.Bits == 32);
  if (!bitsKnown) Fail("unsupported depth of " + Str(l.Bits) + " bits per pixel");
  if (compression > 3) {
    const char* name = compression == 4 ? " (JPEG)" : compression == 5 ? " (PNG)" : "";
    Fail("unsupported compression " + Str(compression) + name);
  }
  l.Kind = Compression(compression);
  int needBits = l.Kind == Compression::Rle8 ? 8 : l.Kind == Compression::Rle4 ? 4 : 0;
  if (needBits != 0 && l.Bits != needBits) {
    Fail(std::string(CompressionName(l.Kind)) + " compression with " + Str(l.Bits) +
         " bits per pixel (needs " + Str(needBits) + ")");
  }
  if (l.Kind == Compression::BitFields && l.Bits != 16 && l.Bits != 32) {
    Fail("bit fields with " + Str(l.Bits) + " bits per pixel (needs 16 or 32)");
  }
  if ((l.Kind == Compression::Rle8 || l.Kind == Compression::Rle4) && l.TopDown) {
    Fail("compressed picture with top-down rows (negative height)");
  }

  // Colour masks, then the palette, follow the info header.
  std::size_t tableStart = FileHeaderSize + l.HeaderSize;
  if (l.Kind == Compression::BitFields) {
    const std::uint8_t* m = h + InfoHeaderSize;
    if (l.HeaderSize == InfoHeaderSize) {
      tableStart += 12;
      if (tableStart > std::min(size, l.DataOffset)) {
        Fail("no room for the colour masks before the pixel data at offset " +
             Str(l.DataOffset));
      }
    }
    for (int i = 0; i < 3; ++i) l.Masks[i] = ReadU32(m + 4 * i);
    if (l.Bits == 16) {
      for (std::uint32_t mask : l.Masks) {
        if (mask > 0xFFFF) Fail("colour mask " + Str(mask) + " does not fit 16 bits");
      }
    }
    if ((l.Masks[0] | l.Masks[1] | l.Masks[2]) == 0) Fail("all colour masks are zero");
  } else if (l.Bits == 16) {
    l.Masks[0] = 0x7C00;
    l.Masks[1] = 0x03E0;
    l.Masks[2] = 0x001F;
  }

  if (l.DataOffset > size) {
    Fail("pixel data offset " + Str(l.DataOffset) + " lies past the end of the file (" +
         Str(size) + " bytes)");
  }
  if (l.DataOffset < tableStart) {
    Fail("pixel data offset " + Str(l.DataOffset) + " lies inside the headers (" +
         Str(tableStart) + " bytes)");
  }

  if (l.Bits <= 8) {
    std::size_t entrySize = core ? 3 : 4;
    std::size_t full = std::size_t(1) << l.Bits;
    std::size_t count = colorsUsed == 0 ? full : colorsUsed;
    if (count > full) {
      Fail("palette of " + Str(count) + " colours is too large for " + Str(l.Bits) +
           " bits per pixel");
    }
    if (core) {
      // A core header has no colour count; the pixel data offset tells how
      // many entries were written.
      count = std::min(count, (l.DataOffset - tableStart) / entrySize);
      if (count == 0) Fail("no room for a palette before the pixel data");
    }
    if (tableStart + count * entrySize > l.DataOffset) {
      Fail("palette of " + Str(count) + " colours overlaps the pixel data at offset " +
           Str(l.DataOffset));
    }
    l.Palette.resize(count);
    const std::uint8_t* p = d + tableStart;
    for (std::size_t i = 0; i < count; ++i, p += entrySize) l.Palette[i] = MakePixel(p[2], p[1], p[0]);
  }

  std::uint64_t pixels = std::uint64_t(l.Width) * std::uint64_t(l.Height);
  std::uint64_t available = size - l.DataOffset;
  if (l.Kind == Compression::Rle8 || l.Kind == Compression::Rle4) {
    if (pixels > 255 * (available / 2) + RleSlackPixels) {
      Fail(Str(available) + " bytes of RLE data cannot fill a picture of " + Str(l.Width) +
           " x " + Str(l.Height));
    }
  } else {
    std::uint64_t rowBytes = (std::uint64_t(l.Width) * std::uint64_t(l.Bits) + 31) / 32 * 4;
    std::uint64_t need = rowBytes * std::uint64_t(l.Height);
    if (need > available) {
      Fail("pixel data needs " + Str(need) + " bytes from offset " + Str(l.DataOffset) +
           ", but the file ends at " + Str(size));
    }
  }
  return l;
}

// The palette spread over all 256 indexes; slots past its end are marked.
std::array<Pixel, 256> PaletteTable(const std::vector<Pixel>& palette) {
  std::array<Pixel, 256> table;
  table.fill(MissingEntry);
  std::copy(palette.begin(), palette.end(), table.begin());
  return table;
}

[[noreturn]] void FailIndex(int index, const Layout& l, int x, int y) {
  Fail("palette index " + Str(index) + " at (" + Str(x) + ", " + Str(y) +
       ") is past the end of the palette of " + Str(l.Palette.size()) + " colours");
}

// Finds the offending pixel of a row in which some index was out of range.
[[noreturn]] void FailRowIndex(const Pixel* out, const std::uint8_t* in, const Layout& l, int y) {
  for (int x = 0; x < l.Width; ++x) {
    if (out[x] == MissingEntry) {
      int index = l.Bits == 8   ? in[x]
                  : l.Bits == 4 ? (x & 1 ? in[x >> 1] & 15 : in[x >> 1] >> 4)
                                : (in[x >> 3] >> (7 - (x & 7))) & 1;
      FailIndex(index, l, x, y);
    }
  }
  Fail("palette index out of range in row " + Str(y));
}

void DecodeUncompressed(const Layout& l, const std::uint8_t* data, Bitmap& out) {
  std::size_t rowBytes = (std::size_t(l.Width) * std::size_t(l.Bits) + 31) / 32 * 4;
  std::array<Pixel, 256> table = PaletteTable(l.Palette);
  BitFields fields;
  bool plain32 = l.Bits == 32 && (l.Kind == Compression::None ||
                                  (l.Masks[0] == 0xFF0000 && l.Masks[1] == 0xFF00 &&
                                   l.Masks[2] == 0xFF));
  if (l.Bits == 16 || (l.Bits == 32 && !plain32)) {
    fields.Red = Channel::FromMask(l.Masks[0], "red");
    fields.Green = Channel::FromMask(l.Masks[1], "green");
    fields.Blue = Channel::FromMask(l.Masks[2], "blue");
  }
  const int w = l.Width;
  for (int row = 0; row < l.Height; ++row) {
    const std::uint8_t* in = data + std::size_t(row) * rowBytes;
    int y = l.TopDown ? row : l.Height - 1 - row;
    Pixel* o = out.Row(y);
    switch (l.Bits) {
      case 1: {
        Pixel seen = 0;
        for (int x = 0; x < w; ++x) seen |= o[x] = table[(in[x >> 3] >> (7 - (x & 7))) & 1];
        if (seen & MissingEntry) FailRowIndex(o, in, l, y);
        break;
      }
      case 4: {
        Pixel seen = 0;
        for (int x = 0; x < w; ++x) {
          std::uint8_t b = in[x >> 1];
          seen |= o[x] = table[x & 1 ? b & 15 : b >> 4];
        }
        if (seen & MissingEntry) FailRowIndex(o, in, l, y);
        break;
      }
      case 8: {
        Pixel seen = 0;
        for (int x = 0; x < w; ++x) seen |= o[x] = table[in[x]];
        if (seen & MissingEntry) FailRowIndex(o, in, l, y);
        break;
      }
      case 16:
        for (int x = 0; x < w; ++x) o[x] = fields.Convert(ReadU16(in + 2 * x));
        break;
      case 24:
        for (int x = 0; x < w; ++x, in += 3) o[x] = MakePixel(in[2], in[1], in[0]);
        break;
      case 32:
        if (plain32) {
          for (int x = 0; x < w; ++x, in += 4) o[x] = MakePixel(in[2], in[1], in[0]);
        } else {
          for (int x = 0; x < w; ++x) o[x] = fields.Convert(ReadU32(in + 4 * x));
        }
        break;
    }
  }
}

// RLE rows run bottom-up. Some encoders compress the padding at the end of
// each uncompressed row along with the pixels, so runs and absolute blocks
// may reach into the row's padding (those pixels are dropped) but not past
// it; a delta may move to the end of the picture but no further.
void DecodeRle(const Layout& l, const std::uint8_t* p, const std::uint8_t* end, Bitmap& out) {
  const bool four = l.Kind == Compression::Rle4;
  const std::array<Pixel, 256> table = PaletteTable(l.Palette);
  const int w = l.Width, h = l.Height;
  const int paddedWidth = four ? (w + 7) & ~7 : (w + 3) & ~3;
  int x = 0, row = 0;  // row counts from the bottom
  // In picture coordinates; a delta may already have left the top row.
  auto where = [&] { return "(" + std::to_string(x) + ", " + std::to_string(h - 1 - row) + ")"; };
  // Checks a block of count pixels at the current position and returns
  // where it goes and how many of its pixels lie inside the picture.
  auto startBlock = [&](int count, const char* what, int& inside) {
    if (row >= h) Fail(std::string("RLE ") + what + " after the last row");
    if (count > paddedWidth - x) {
      Fail(std::string("RLE ") + what + " of " + Str(count) + " pixels at " + where() +
           " runs past the end of the row (width " + Str(w) + ")");
    }
    inside = std::max(0, std::min(count, w - x));
    return out.Row(h - 1 - row) + std::min(x, w);
  };
  // Padding pixels are checked too: an index past the palette is an error
  // wherever it stands.
  auto colour = [&](int index, int i) {
    Pixel c = table[index];
    if (c == MissingEntry) FailIndex(index, l, x + i, h - 1 - row);
    return c;
  };
  for (;;) {
    if (end - p < 2) Fail("RLE data ends without an end-of-picture mark");
    int count = p[0], value = p[1];
    p += 2;
    if (count > 0) {
      int inside = 0;
      Pixel* o = startBlock(count, "run", inside);
      if (four) {
        Pixel pair[2] = {colour(value >> 4, 0), count > 1 ? colour(value & 15, 1) : 0};
        for (int i = 0; i < inside; ++i) o[i] = pair[i & 1];
      } else {
        std::fill(o, o + inside, colour(value, 0));
      }
      x += count;
      continue;
    }
    switch (value) {
      case 0:  // end of row
        if (row >= h) Fail("RLE end of row after the last row");
        x = 0;
        ++row;
        break;
      case 1:  // end of picture
        return;
      case 2: {  // delta: move right and up
        if (end - p < 2) Fail("RLE data ends inside a delta");
        int dx = p[0], dy = p[1];
        p += 2;
        if (dx > paddedWidth - x || dy > h - row) {
          Fail("RLE delta (" + Str(dx) + ", " + Str(dy) + ") from " + where() +
               " moves outside the picture");
        }
        x += dx;
        row += dy;
        break;
      }
      default: {  // absolute block of `value` indexes, padded to 2 bytes
        int bytes = four ? (value + 1) / 2 : value;
        int padded = (bytes + 1) & ~1;
        if (end - p < padded) Fail("RLE data ends inside an absolute block at " + where());
        int inside = 0;
        Pixel* o = startBlock(value, "block", inside);
        for (int i = 0; i < value; ++i) {
          Pixel c = colour(four ? (i & 1 ? p[i >> 1] & 15 : p[i >> 1] >> 4) : p[i], i);
          if (i < inside) o[i] = c;
        }
        x += value;
        p += padded;
        break;
      }
    }
  }
}

bool IsWritableBits(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24; }

// The palette to write a picture with at a palette depth, or nothing when
// its colours do not fit.
std::optional<std::vector<Pixel>> ChoosePalette(const Bitmap& bitmap, int bits) {
  const std::size_t capacity = std::size_t(1) << bits;
  const std::vector<Pixel>& source = bitmap.SourcePalette();
  if (!source.empty() && source.size() <= capacity) {
    std::unordered_map<Pixel, bool> known;
    for (Pixel p : source) known.emplace(p & 0xFFFFFF, true);
    bool all = true;
    Pixel last = MissingEntry;
    for (int y = 0; y < bitmap.Height() && all; ++y) {
      const Pixel* row = bitmap.Row(y);
      for (int x = 0; x < bitmap.Width(); ++x) {
        Pixel c = row[x] & 0xFFFFFF;
        if (c == last) continue;
        if (!known.count(c)) {
          all = false;
          break;
        }
        last = c;
      }
    }
    if (all) {
      std::vector<Pixel> palette;
      for (Pixel p : source) palette.push_back(p & 0xFFFFFF);
      return palette;
    }
  }
  std::vector<Pixel> palette;
  std::unordered_map<Pixel, bool> seen;
  Pixel last = MissingEntry;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const Pixel* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      Pixel c = row[x] & 0xFFFFFF;
      if (c == last) continue;
      last = c;
      if (seen.emplace(c, true).second) {
        if (palette.size() == capacity) return std::nullopt;
        palette.push_back(c);
      }
    }
  }
  return palette;
}

void PutU16(std::uint8_t* p, std::uint32_t v) {
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
}
void PutU32(std::uint8_t* p, std::uint32_t v) {
  PutU16(p, v);
  PutU16(p + 2, v >> 16);
}

std::vector<std::uint8_t> Encode(const Bitmap& bitmap, int bits, const std::vector<Pixel>& palette) {
  const int w = bitmap.Width(), h = bitmap.Height();
  std::uint64_t rowBytes = (std::uint64_t(w) * std::uint64_t(bits) + 31) / 32 * 4;
  std::uint64_t offset = FileHeaderSize + InfoHeaderSize + 4 * palette.size();
  std::uint64_t total = offset + rowBytes * std::uint64_t(h);
  if (total > 0xFFFFFFFFu) Fail("picture of " + Str(w) + " x " + Str(h) + " is too large to write");
  std::vector<std::uint8_t> file(total, 0);
  std::uint8_t* d = file.data();
  d[0] = 'B';
  d[1] = 'M';
  PutU32(d + 2, std::uint32_t(total));
  PutU32(d + 10, std::uint32_t(offset));
  std::uint8_t* info = d + FileHeaderSize;
  PutU32(info, InfoHeaderSize);
  PutU32(info + 4, std::uint32_t(w));
  PutU32(info + 8, std::uint32_t(h));
  PutU16(info + 12, 1);
  PutU16(info + 14, std::uint32_t(bits));
  PutU32(info + 20, std::uint32_t(rowBytes * std::uint64_t(h)));
  PutU32(info + 32, std::uint32_t(palette.size()));
  std::uint8_t* entry = info + InfoHeaderSize;
  for (Pixel p : palette) {
    entry[0] = PixelBlue(p);
    entry[1] = PixelGreen(p);
    entry[2] = PixelRed(p);
    entry += 4;
  }

  std::unordered_map<Pixel, std::uint8_t> indexOf;
  // Reversed, so that a colour listed twice maps to its first entry.
  for (std::size_t i = palette.size(); i-- > 0;) indexOf[palette[i]] = std::uint8_t(i);
  for (int y = 0; y < h; ++y) {
    const Pixel* in = bitmap.Row(y);
    std::uint8_t* o = d + offset + std::size_t(h - 1 - y) * rowBytes;
    if (bits == 24) {
      for (int x = 0; x < w; ++x, o += 3) {
        o[0] = PixelBlue(in[x]);
        o[1] = PixelGreen(in[x]);
        o[2] = PixelRed(in[x]);
      }
      continue;
    }
    Pixel last = MissingEntry;
    unsigned index = 0;
    for (int x = 0; x < w; ++x) {
      Pixel c = in[x] & 0xFFFFFF;
      if (c != last) {
        index = indexOf.at(c);
        last = c;
      }
      if (bits == 8) {
        o[x] = std::uint8_t(index);
      } else if (bits == 4) {
        o[x >> 1] |= std::uint8_t(x & 1 ? index : index << 4);
      } else {
        o[x >> 3] |= std::uint8_t(index << (7 - (x & 7)));
      }
    }
  }
  return file;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void FailFile(const std::string& path, const std::string& what, int error) {
  throw Error(path + ": " + what + ": " + std::strerror(error));
}

}  // namespace

BmpReadResult ReadBmp(std::span<const std::uint8_t> data) {
  Layout l = ReadLayout(data);
  BmpReadResult result;
  result.Picture = Bitmap(l.Width, l.Height);
  const std::uint8_t* pixels = data.data() + l.DataOffset;
  if (l.Kind == Compression::Rle8 || l.Kind == Compression::Rle4) {
    DecodeRle(l, pixels, data.data() + l.FileSize, result.Picture);
  } else {
    DecodeUncompressed(l, pixels, result.Picture);
  }
  result.Picture.SetSourceBits(l.Bits);
  result.Picture.SetSourcePalette(std::move(l.Palette));
  result.BytesUsed = l.FileSize;
  return result;
}

std::vector<std::uint8_t> WriteBmp(const Bitmap& bitmap, int bitsPerPixel) {
  if (!IsWritableBits(bitsPerPixel)) {
    Fail("cannot write " + std::to_string(bitsPerPixel) + " bits per pixel (1, 4, 8 or 24)");
  }
  if (bitmap.IsEmpty()) Fail("cannot write an empty picture");
  if (bitsPerPixel == 24) return Encode(bitmap, 24, {});
  std::optional<std::vector<Pixel>> palette = ChoosePalette(bitmap, bitsPerPixel);
  if (!palette) {
    Fail("picture has more than " + Str(std::size_t(1) << bitsPerPixel) + " colours for " +
         Str(bitsPerPixel) + " bits per pixel");
  }
  return Encode(bitmap, bitsPerPixel, *palette);
}

int BmpWriteBits(const Bitmap& bitmap) {
  int bits = bitmap.SourceBits();
  if (bits == 1 || bits == 4 || bits == 8) {
    if (!bitmap.IsEmpty() && ChoosePalette(bitmap, bits)) return bits;
  }
  return 24;
}

std::vector<std::uint8_t> WriteBmp(const Bitmap& bitmap) {
  if (bitmap.IsEmpty()) Fail("cannot write an empty picture");
  int bits = bitmap.SourceBits();
  if (bits == 1 || bits == 4 || bits == 8) {
    if (std::optional<std::vector<Pixel>> palette = ChoosePalette(bitmap, bits)) {
      return Encode(bitmap, bits, *palette);
    }
  }
  return Encode(bitmap, 24, {});
}

Bitmap LoadBmpFile(const std::string& path) {
  std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  try {
    return ReadBmp(bytes).Picture;
  } catch (const Error& e) {
    throw Error(path + ": " + e.what());
  }
}

void SaveBmpFile(const std::string& path, const Bitmap& bitmap) {
  WriteFileBytes(path, WriteBmp(bitmap));
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  FilePointer file(std::fopen(path.c_str(), "rb"));
  if (!file) FailFile(path, "cannot open", errno);
  std::vector<std::uint8_t> bytes;
  // Read in chunks rather than trusting a size from stat: devices and pipes
  // have none.
  std::size_t chunk = 1 << 16;
  for (;;) {
    std::size_t have = bytes.size();
    if (have > maxBytes) {
      throw Error(path + ": file is larger than " + Str(maxBytes) + " bytes");
    }
    std::size_t want = std::min(chunk, maxBytes + 1 - have);
    bytes.resize(have + want);
    std::size_t got = std::fread(bytes.data() + have, 1, want, file.get());
    bytes.resize(have + got);
    if (got < want) {
      if (std::ferror(file.get())) FailFile(path, "cannot read", errno);
      break;
    }
    if (chunk < (std::size_t(1) << 24)) chunk *= 2;
  }
  if (bytes.size() > maxBytes) throw Error(path + ": file is larger than " + Str(maxBytes) + " bytes");
  return bytes;
}

void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
  FilePointer file(std::fopen(path.c_str(), "wb"));
  if (!file) FailFile(path, "cannot create", errno);
  errno = 0;
  bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  written = written && std::fflush(file.get()) == 0;
  int error = written ? 0 : errno;
  if (std::fclose(file.release()) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) {
    // A cut-off file would pass for a complete one later. Only a regular
    // file is removed: the path may name a device.
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored)) std::remove(path.c_str());
    FailFile(path, "cannot write", error != 0 ? error : EIO);
  }
}

}  // namespace gfx
