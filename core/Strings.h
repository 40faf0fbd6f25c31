#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace core {

class TStream;

// Lines of text. The abstract list behind memo lines and string lists:
// derived classes store the lines (Get, Put, Insert, Delete, Count, Clear);
// this class builds everything else on those, and tracks changes for
// OnChange and BeginUpdate/EndUpdate.
class TStrings {
 public:
  using TNotifyEvent = std::function<void(TStrings& sender)>;

  TStrings() = default;
  virtual ~TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  // --- storage, provided by derived classes -------------------------------
  virtual int Count() const = 0;
  // Raise EListError "List index out of bounds (<index>)" for an index
  // outside 0..Count-1 (Insert also accepts Count).
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& text) = 0;
  virtual void Insert(int index, const std::string& text) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  // Appends (or, in a sorted list, inserts in order); returns the index.
  virtual int Add(const std::string& text);

  std::string Strings(int index) const { return Get(index); }
  void SetStrings(int index, const std::string& text) { Put(index, text); }
  std::string operator[](int index) const { return Get(index); }

  void AddStrings(const TStrings& other);
  // Replaces the lines by a copy of other's.
  void Assign(const TStrings& other);
  bool Equals(const TStrings& other) const;
  void Exchange(int index1, int index2);
  void Move(int currentIndex, int newIndex);

  // First line equal to text, letter case ignored (ASCII); -1 when absent.
  virtual int IndexOf(std::string_view text) const;

  // Every line followed by CR LF (so an empty list gives "", one empty line
  // gives "\r\n"). Setting splits at CR LF, LF or CR; a final line break does
  // not start another line.
  std::string Text() const;
  void SetText(std::string_view text);

  // "name=value" lines. Names compare without letter case; a line without
  // "=" has no name. Setting a value to "" removes the line; setting a name
  // that is absent appends "name=value".
  std::string Names(int index) const;
  std::string ValueFromIndex(int index) const;
  std::string Values(std::string_view name) const;
  void SetValues(std::string_view name, std::string_view value);
  int IndexOfName(std::string_view name) const;

  // Reads the stream from its position to its end as text (UTF-8).
  void LoadFromStream(TStream& stream);
  // Writes every line followed by CR LF.
  void SaveToStream(TStream& stream) const;
  // Raises EFOpenError when the file cannot be read.
  void LoadFromFile(const std::string& fileName);
  // Creates or replaces the file; raises EFCreateError
  // "Cannot create file "<name>". <reason>".
  void SaveToFile(const std::string& fileName) const;

  // Changes between BeginUpdate and the matching EndUpdate fire OnChange once,
  // after the outermost EndUpdate, and only if something changed.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Fired after each change outside an update; the handler may not destroy
  // the list.
  TNotifyEvent OnChange;
  // Fired before each change outside an update.
  TNotifyEvent OnChanging;

 protected:
  // Derived classes call these around every change of the lines.
  void Changing();
  void Changed();
  // Called when the first BeginUpdate starts (true) and the last EndUpdate
  // ends (false); a visual list stops and resumes repainting here.
  virtual void SetUpdateState(bool updating);
  // Message of a bad index, shared by the derived classes.
  [[noreturn]] static void RaiseIndexError(int index);

 private:
  int FUpdateCount = 0;
  bool FChangedDuringUpdate = false;
};

}  // namespace core
