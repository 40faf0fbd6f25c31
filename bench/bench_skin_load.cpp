// A full skin load (inflate, pictures, description, objects) beside zlib's
// inflate of the same block alone. The skin has the program's proportions:
// a version 2 container of about 250 KB with a 152 x 125 frame picture and
// mask, 8 active pictures, 12 skin objects and 51 control entries (one of a
// kind without a class), about 28 KB of description.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Compression.h"
#include "core/Encoding.h"
#include "core/MemIniFile.h"
#include "core/MemoryStream.h"
#include "gfx/Bitmap.h"
#include "gfx/BmpCodec.h"
#include "skin/data/SkinData.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Skin pictures are drawn artwork: flat areas, gradients and some detail.
Bytes Picture(int width, int height, int bits, int seed) {
  gfx::Bitmap bitmap(width, height);
  const int colours = bits == 1 ? 2 : bits == 8 ? 160 : 4096;
  std::uint32_t noise = std::uint32_t(seed) * 2654435761u + 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1103515245u + 12345u;
      int index = ((x / 6) * 7 + (y / 4) * 3 + seed) % colours;
      if ((noise >> 28) == 0) index = int(noise >> 8) % colours;
      bitmap.SetPixel(x, y, gfx::MakePixel(std::uint8_t(index * 5), std::uint8_t(index * 3 + (index >> 8)),
                                           std::uint8_t(255 - index)));
    }
  }
  return gfx::WriteBmp(bitmap, bits);
}

void Key(std::string& text, const std::string& key, const std::string& value) {
  text += key + "=" + value + "\r\n";
}

std::string Rect(int seed) {
  return std::to_string(seed % 200) + "," + std::to_string(seed % 90) + "," + std::to_string(seed % 200 + 21) +
         "," + std::to_string(seed % 90 + 21);
}

std::string Description() {
  std::string text;
  text += "[VERSION]\r\n";
  Key(text, "skinname", "bench");
  Key(text, "ver", "2");
  text += "\r\n[PICTURES]\r\n";
  Key(text, "picture", "main.bmp");
  Key(text, "mask", "mask.bmp");
  Key(text, "activepicturescount", "8");
  for (int i = 0; i < 8; ++i) Key(text, std::to_string(i), "p" + std::to_string(i) + ".bmp");
  text += "\r\n[FORMINFO]\r\n";
  Key(text, "lefttoppoint", "29,29");
  Key(text, "righttoppoint", "53,29");
  Key(text, "leftbottompoint", "6,118");
  Key(text, "rightbottompoint", "146,119");
  Key(text, "clientrect", "5,29,147,120");
  Key(text, "maskrectarea", "3,4,149,122");
  Key(text, "borderwidth", "3");
  text += "\r\n[POPUPWINDOW]\r\n";
  Key(text, "windowpictureindex", "1");
  Key(text, "itemsrect", "3,8,62,61");
  text += "\r\n[HINTWINDOW]\r\n";
  Key(text, "windowpictureindex", "3");
  Key(text, "fontheight", "12");

  const char* objectKinds[] = {"menuitem", "caption", "stdbutton", "stdbutton", "stdbutton", "stdbutton",
                               "mainmenubaritem", "stdbutton", "mainmenubarbutton", "mainmenubarbutton",
                               "mainmenubarbutton", "mainmenubarbutton"};
  text += "\r\n[SKINOBJECTS]\r\ncount=12\r\n";
  for (int i = 0; i < 12; ++i) Key(text, std::to_string(i), "object" + std::to_string(i) + ":" + objectKinds[i]);
  for (int i = 0; i < 12; ++i) {
    text += "\r\n[object" + std::to_string(i) + "]\r\n";
    Key(text, "activepictureindex", "0");
    Key(text, "rollup", "0");
    Key(text, "cursorindex", "-1");
    Key(text, "skinrect", Rect(i * 17));
    Key(text, "activeskinrect", Rect(i * 19));
    Key(text, "downrect", Rect(i * 23));
    Key(text, "command", "cmclose");
    Key(text, "morphing", "0");
    Key(text, "morphkind", "mkdefault");
    Key(text, "fontheight", "12");
    Key(text, "textrect", "2,2,60,18");
  }

  const char* controlKinds[] = {
      "button", "panel", "button", "checkradio", "gauge", "gauge", "checkradio", "panel", "label",
      "trackbar", "trackbar", "grid", "tab", "edit", "memo", "scrollbar", "scrollbar", "listbox",
      "combobox", "checklistbox", "spinedit", "panel", "stdlabel", "label", "panel", "edit", "updown",
      "updown", "listbox", "checklistbox", "combobox", "controlbar", "mainmenubar", "splitter",
      "splitter", "button", "scrollbar", "panel", "panel", "button", "menubutton", "menubutton",
      "menubutton", "menubutton", "scrollbox", "treeview", "listview", "gauge", "richedit", "expanel",
      "header"};
  text += "\r\n[SKINCONTROLS]\r\ncount=51\r\n";
  for (int i = 0; i < 51; ++i) Key(text, std::to_string(i), "control" + std::to_string(i) + ":" + controlKinds[i]);
  for (int i = 0; i < 51; ++i) {
    text += "\r\n[control" + std::to_string(i) + "]\r\n";
    Key(text, "pictureindex", "4");
    Key(text, "skinrect", Rect(i * 7));
    Key(text, "lefttoppoint", "4,8");
    Key(text, "righttoppoint", "18,9");
    Key(text, "clientrect", "2,2,22,19");
    Key(text, "fontname", "宋体");
    Key(text, "fontheight", "12");
    Key(text, "fontcolor", "0");
    Key(text, "activefontcolor", "0");
    Key(text, "disabledfontcolor", "8421504");
    Key(text, "activeskinrect", Rect(i * 11));
    Key(text, "downskinrect", Rect(i * 13));
    Key(text, "thumbrect", Rect(i * 3));
    Key(text, "upbuttonrect", Rect(i * 5));
    Key(text, "downbuttonrect", Rect(i * 9));
    Key(text, "trackarea", Rect(i * 2));
  }
  // Real descriptions carry comments and keys nobody reads.
  text += "\r\n[CURSORS]\r\n";
  while (text.size() < 28500) text += "; padding to the size of a real description\r\n";
  return core::Utf8ToGbk(text);
}

struct BenchSkin {
  Bytes Container;
  Bytes Block;

  BenchSkin() {
    skin::SkinContainer container;
    container.FrameEntry(skin::FramePicture::Picture).Bmp = Picture(152, 125, 8, 1);
    container.FrameEntry(skin::FramePicture::Mask).Bmp = Picture(152, 125, 1, 2);
    const int sizes[8][3] = {{84, 223, 8}, {65, 69, 8}, {68, 118, 24}, {42, 27, 8},
                             {516, 280, 8}, {72, 21, 8}, {65, 69, 1}, {42, 27, 1}};
    for (int i = 0; i < 8; ++i) {
      container.Active.emplace_back().Bmp = Picture(sizes[i][0], sizes[i][1], sizes[i][2], i + 3);
    }
    container.Description = Description();
    Container = skin::WriteSkinContainer(container);
    Block = core::ZCompressBytes(Container, core::clMax);
  }
};

const BenchSkin& Skin() {
  static const BenchSkin skin;
  return skin;
}

void InflateAlone(benchmark::State& state) {
  const BenchSkin& skin = Skin();
  Bytes out(skin.Container.size());
  for (auto _ : state) {
    uLongf size = uLongf(out.size());
    if (uncompress(out.data(), &size, skin.Block.data(), uLong(skin.Block.size())) != Z_OK) {
      state.SkipWithError("inflate failed");
      break;
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["container_bytes"] = double(skin.Container.size());
  state.counters["block_bytes"] = double(skin.Block.size());
}
BENCHMARK(InflateAlone)->Unit(benchmark::kMicrosecond);

void InflateThroughStreams(benchmark::State& state) {
  const BenchSkin& skin = Skin();
  for (auto _ : state) {
    core::TMemoryStream target;
    skin::InflateSkinBlock(skin.Block, target);
    benchmark::DoNotOptimize(target.Memory());
  }
}
BENCHMARK(InflateThroughStreams)->Unit(benchmark::kMicrosecond);

void ReadContainer(benchmark::State& state) {
  const BenchSkin& skin = Skin();
  for (auto _ : state) {
    skin::SkinContainer container = skin::ReadSkinContainer(skin.Container);
    benchmark::DoNotOptimize(container.Active.data());
  }
}
BENCHMARK(ReadContainer)->Unit(benchmark::kMicrosecond);

// The description alone: conversion to UTF-8, the INI reader, and every
// section object reading its keys.
void ReadDescription(benchmark::State& state) {
  const BenchSkin& skin = Skin();
  const skin::SkinContainer container = skin::ReadSkinContainer(skin.Container, skin::DecodePictures::No);
  for (auto _ : state) {
    const core::TMemIniFile ini(core::GbkToUtf8(container.Description));
    skin::TskDataSkinObjectList objects;
    skin::TskDataSkinControlList controls;
    skin::LoadSkinObjects(ini, objects);
    skin::LoadSkinControls(ini, controls);
    benchmark::DoNotOptimize(controls.data());
  }
}
BENCHMARK(ReadDescription)->Unit(benchmark::kMicrosecond);

void ParseDescription(benchmark::State& state) {
  const BenchSkin& skin = Skin();
  const skin::SkinContainer container = skin::ReadSkinContainer(skin.Container, skin::DecodePictures::No);
  for (auto _ : state) {
    const core::TMemIniFile ini(core::GbkToUtf8(container.Description));
    benchmark::DoNotOptimize(&ini);
  }
}
BENCHMARK(ParseDescription)->Unit(benchmark::kMicrosecond);

void FullLoad(benchmark::State& state) {
  const BenchSkin& skin = Skin();
  auto stored = core::CreateUnowned<skin::TskCompressedStoredSkin>();
  stored->SetCompressedData(skin.Block);
  auto data = core::CreateUnowned<skin::TskSkinData>();
  for (auto _ : state) {
    data->LoadFromCompressedStoredSkin(*stored);
    benchmark::DoNotOptimize(data->SkinControls().data());
  }
  if (data->Empty() || data->ActivePictures().size() != 8 || data->SkinObjects().size() != 12 ||
      data->SkinControls().size() != 50) {
    state.SkipWithError("the bench skin did not load as expected");
  }
}
BENCHMARK(FullLoad)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
