// The text in an open text box: lines of UTF-8 and a caret that always
// sits between whole characters.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace rc {

class TextEditor {
 public:
  // Inserts typed text at the caret. Control characters (the Enter, Tab,
  // Backspace and Escape that some platforms also send as characters) are
  // dropped: those keys arrive as key presses.
  void Insert(const std::string& utf8);
  // Enter: the rest of the line moves to a new line below.
  void NewLine();
  // At the start of a line it joins the line to the one above.
  void Backspace();
  // At the end of a line it joins the next line to it.
  void Delete();
  void Left();
  void Right();
  void Up();
  void Down();
  void Home();
  void End();
  // Puts the caret on `line` at `byte`, or at the nearest place that is
  // between whole characters of a line that exists.
  void MoveCaret(size_t line, size_t byte);

  const std::vector<std::string>& Lines() const { return lines_; }
  size_t CaretLine() const { return line_; }
  // The caret's byte offset in its line.
  size_t CaretByte() const { return byte_; }
  // No character in any line.
  bool Empty() const;

 private:
  // The caret's line as characters before it, for moves between lines.
  size_t CaretColumn() const;
  void SetColumn(size_t column);

  std::vector<std::string> lines_{std::string()};
  size_t line_ = 0;
  size_t byte_ = 0;
};

}  // namespace rc
