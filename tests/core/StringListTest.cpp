#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "core/Exception.h"
#include "core/FileStream.h"
#include "core/MemoryStream.h"
#include "core/StringList.h"

namespace core {
namespace {

std::string TempPath(const std::string& name) {
  return "/tmp/ostvane-core-" + std::to_string(::getpid()) + "-" + name;
}

std::string ReadWholeFile(const std::string& path) {
  TFileStream file(path, fmOpenRead);
  std::string text(std::size_t(file.Size()), '\0');
  if (!text.empty()) file.ReadBuffer(text.data(), text.size());
  return text;
}

TEST(StringList, AddInsertDeleteKeepOrder) {
  TStringList list;
  EXPECT_EQ(list.Add("b"), 0);
  EXPECT_EQ(list.Add("d"), 1);
  list.Insert(0, "a");
  list.Insert(2, "c");
  list.Insert(4, "e");
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\ne\r\n");
  list.Delete(0);
  list.Delete(3);
  EXPECT_EQ(list.Text(), "b\r\nc\r\nd\r\n");
  list.SetStrings(1, "C");
  EXPECT_EQ(list[1], "C");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, BadIndexesRaiseWithTheIndexInTheMessage) {
  TStringList list;
  list.Add("only");
  auto message = [](auto action) -> std::string {
    try {
      action();
    } catch (const EListError& error) {
      return error.what();
    }
    return "no error";
  };
  EXPECT_EQ(message([&] { list.Get(1); }), "List index out of bounds (1)");
  EXPECT_EQ(message([&] { list.Get(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(message([&] { list.Put(5, "x"); }), "List index out of bounds (5)");
  EXPECT_EQ(message([&] { list.Delete(1); }), "List index out of bounds (1)");
  EXPECT_EQ(message([&] { list.Insert(2, "x"); }), "List index out of bounds (2)");
  EXPECT_EQ(list.Count(), 1);
}

TEST(StringList, IndexOfIgnoresLetterCase) {
  TStringList list;
  list.Add("Button");
  list.Add("checkbox");
  EXPECT_EQ(list.IndexOf("BUTTON"), 0);
  EXPECT_EQ(list.IndexOf("CheckBox"), 1);
  EXPECT_EQ(list.IndexOf("edit"), -1);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("BUTTON"), -1);
}

TEST(StringList, TextSplitsAtEveryLineBreakKind) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd");
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list[3], "d");
  // A final break ends the last line rather than starting another.
  list.SetText("a\r\n");
  EXPECT_EQ(list.Count(), 1);
  // Empty lines in between are kept, including CR CR and LF LF.
  list.SetText("a\r\n\r\nb\n\nc\r\rd");
  EXPECT_EQ(list.Count(), 7);
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  list.SetText("\r\n");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list[0], "");
}

TEST(StringList, TextRoundTrips) {
  TStringList list;
  for (const char* line : {"192.168.1.7:00-1A-2B-3C-4D-5E", "", "扫描MAC地址", " spaced "}) list.Add(line);
  TStringList copy;
  copy.SetText(list.Text());
  EXPECT_TRUE(copy.Equals(list));
  TStringList empty;
  copy.SetText(empty.Text());
  EXPECT_EQ(copy.Count(), 0);
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.Add("MI_MINCAPTION=Mi&nimize");
  list.Add("no equals sign");
  list.Add("EDIT_COPY=Copy=Twice");
  list.Add("=nameless");
  EXPECT_EQ(list.Names(0), "MI_MINCAPTION");
  EXPECT_EQ(list.Names(1), "");
  EXPECT_EQ(list.Values("mi_mincaption"), "Mi&nimize");
  EXPECT_EQ(list.Values("EDIT_COPY"), "Copy=Twice");
  EXPECT_EQ(list.ValueFromIndex(3), "nameless");
  EXPECT_EQ(list.Values("absent"), "");
  list.SetValues("edit_copy", "Copy");
  EXPECT_EQ(list[2], "edit_copy=Copy");
  list.SetValues("NEW", "1");
  EXPECT_EQ(list[4], "NEW=1");
  list.SetValues("MI_MINCAPTION", "");
  EXPECT_EQ(list.IndexOfName("MI_MINCAPTION"), -1);
  EXPECT_EQ(list.Count(), 4);
}

TEST(StringList, ChangeEventsAndNestedUpdates) {
  TStringList list;
  int changes = 0;
  int changings = 0;
  list.OnChange = [&](TStrings&) { ++changes; };
  list.OnChanging = [&](TStrings&) { ++changings; };
  list.Add("a");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(changings, 1);

  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changes, 1) << "inner EndUpdate must not fire";
  list.EndUpdate();
  EXPECT_EQ(changes, 2) << "outermost EndUpdate fires once";

  list.BeginUpdate();
  list.EndUpdate();
  EXPECT_EQ(changes, 2) << "nothing changed, nothing fired";

  // SetText is one change for the listener however many lines it brings.
  list.SetText("1\r\n2\r\n3");
  EXPECT_EQ(changes, 3);
  // A stray EndUpdate does not underflow the count.
  list.EndUpdate();
  EXPECT_EQ(list.UpdateCount(), 0);
  list.Add("x");
  EXPECT_EQ(changes, 4);
}

TEST(StringList, SortedListsKeepOrderAndHandleDuplicates) {
  TStringList list;
  list.Add("delta");
  list.Add("Alpha");
  list.Add("charlie");
  list.SetSorted(true);
  EXPECT_EQ(list.Text(), "Alpha\r\ncharlie\r\ndelta\r\n");
  EXPECT_EQ(list.Add("Bravo"), 1);
  EXPECT_EQ(list.Add("BRAVO"), 1) << "dupIgnore returns the existing line";
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.IndexOf("CHARLIE"), 2);
  EXPECT_THROW(list.Insert(0, "x"), EListError);
  EXPECT_THROW(list.Put(0, "x"), EListError);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("alpha"), EListError);
  list.SetDuplicates(dupAccept);
  list.Add("alpha");
  EXPECT_EQ(list.Count(), 5);
}

TEST(StringList, AssignExchangeMove) {
  TStringList source;
  source.SetText("a\nb\nc");
  TStringList list;
  list.Add("old");
  list.Assign(source);
  EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\n");
  list.Exchange(0, 2);
  EXPECT_EQ(list.Text(), "c\r\nb\r\na\r\n");
  list.Move(0, 2);
  EXPECT_EQ(list.Text(), "b\r\na\r\nc\r\n");
  EXPECT_THROW(list.Move(0, 3), EListError);
  EXPECT_EQ(list.Count(), 3);
}

TEST(StringList, StreamsWriteCrLfAfterEveryLine) {
  TStringList list;
  list.Add("192.168.1.1:00-00-00-00-00-00");
  list.Add("192.168.1.2:00-1A-2B-3C-4D-5E");
  TMemoryStream stream;
  list.SaveToStream(stream);
  std::string written(reinterpret_cast<const char*>(stream.Memory()), std::size_t(stream.Size()));
  EXPECT_EQ(written, "192.168.1.1:00-00-00-00-00-00\r\n192.168.1.2:00-1A-2B-3C-4D-5E\r\n");

  stream.SetPosition(0);
  TStringList read;
  read.LoadFromStream(stream);
  EXPECT_TRUE(read.Equals(list));
}

TEST(StringList, SaveToFileReplacesTheWholeFile) {
  std::string path = TempPath("mac.txt");
  TStringList list;
  list.SetText("first\nsecond\nthird");
  list.SaveToFile(path);
  list.SetText("only");
  list.SaveToFile(path);
  EXPECT_EQ(ReadWholeFile(path), "only\r\n");
  list.Clear();
  list.SaveToFile(path);
  EXPECT_EQ(ReadWholeFile(path), "");

  TStringList loaded;
  list.SetText("x\ny");
  list.SaveToFile(path);
  loaded.LoadFromFile(path);
  EXPECT_TRUE(loaded.Equals(list));
  std::remove(path.c_str());
}

TEST(StringList, SaveToFileFailureNamesFileAndReason) {
  TStringList list;
  list.Add("line");
  const std::string missingFolder = "/nonexistent-ostvane-folder/mac.txt";
  try {
    list.SaveToFile(missingFolder);
    FAIL() << "expected EFCreateError";
  } catch (const EFCreateError& error) {
    EXPECT_STREQ(error.what(), "Cannot create file \"/nonexistent-ostvane-folder/mac.txt\". No such file or directory");
  }
  // A directory cannot be created as a file either.
  try {
    list.SaveToFile("/tmp");
    FAIL() << "expected EFCreateError";
  } catch (const EFCreateError& error) {
    EXPECT_STREQ(error.what(), "Cannot create file \"/tmp\". Is a directory");
  }
  // A file system that refuses new files, even to root.
  EXPECT_THROW(list.SaveToFile("/proc/ostvane-mac.txt"), EFCreateError);
  EXPECT_THROW(list.LoadFromFile("/nonexistent-ostvane-folder/mac.txt"), EFOpenError);
}

TEST(StringList, ManyAppendsStayInOrder) {
  TStringList list;
  for (int i = 0; i < 100000; ++i) list.Add(std::to_string(i));
  ASSERT_EQ(list.Count(), 100000);
  EXPECT_EQ(list.Line(99999), "99999");
  EXPECT_EQ(list.Line(0), "0");
}

}  // namespace
}  // namespace core
