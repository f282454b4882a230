#include "edit/text_editor.h"

#include <algorithm>

namespace rc {

namespace {

bool Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

size_t PreviousBoundary(const std::string& s, size_t at) {
  if (at == 0) return 0;
  --at;
  while (at > 0 && Continuation(s[at])) --at;
  return at;
}

size_t NextBoundary(const std::string& s, size_t at) {
  if (at >= s.size()) return s.size();
  ++at;
  while (at < s.size() && Continuation(s[at])) ++at;
  return at;
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

}  // namespace

void TextEditor::Insert(const std::string& utf8) {
  std::string kept;
  for (char c : utf8) {
    if (!IsControl(static_cast<unsigned char>(c))) kept.push_back(c);
  }
  lines_[line_].insert(byte_, kept);
  byte_ += kept.size();
}

void TextEditor::NewLine() {
  std::string rest = lines_[line_].substr(byte_);
  lines_[line_].erase(byte_);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(line_) + 1, std::move(rest));
  ++line_;
  byte_ = 0;
}

void TextEditor::Backspace() {
  if (byte_ == 0) {
    if (line_ == 0) return;
    const std::string joined = lines_[line_];
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line_));
    --line_;
    byte_ = lines_[line_].size();
    lines_[line_] += joined;
    return;
  }
  const size_t from = PreviousBoundary(lines_[line_], byte_);
  lines_[line_].erase(from, byte_ - from);
  byte_ = from;
}

void TextEditor::Delete() {
  std::string& line = lines_[line_];
  if (byte_ < line.size()) {
    line.erase(byte_, NextBoundary(line, byte_) - byte_);
  } else if (line_ + 1 < lines_.size()) {
    line += lines_[line_ + 1];
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line_) + 1);
  }
}

void TextEditor::Left() {
  if (byte_ > 0) {
    byte_ = PreviousBoundary(lines_[line_], byte_);
  } else if (line_ > 0) {
    --line_;
    byte_ = lines_[line_].size();
  }
}

void TextEditor::Right() {
  if (byte_ < lines_[line_].size()) {
    byte_ = NextBoundary(lines_[line_], byte_);
  } else if (line_ + 1 < lines_.size()) {
    ++line_;
    byte_ = 0;
  }
}

void TextEditor::Up() {
  if (line_ == 0) return Home();
  const size_t column = CaretColumn();
  --line_;
  SetColumn(column);
}

void TextEditor::Down() {
  if (line_ + 1 >= lines_.size()) return End();
  const size_t column = CaretColumn();
  ++line_;
  SetColumn(column);
}

void TextEditor::Home() { byte_ = 0; }
void TextEditor::End() { byte_ = lines_[line_].size(); }

void TextEditor::MoveCaret(size_t line, size_t byte) {
  line_ = std::min(line, lines_.size() - 1);
  const std::string& text = lines_[line_];
  byte_ = std::min(byte, text.size());
  while (byte_ > 0 && byte_ < text.size() && Continuation(text[byte_])) --byte_;
}

bool TextEditor::Empty() const {
  return std::all_of(lines_.begin(), lines_.end(), [](const std::string& l) { return l.empty(); });
}

size_t TextEditor::CaretColumn() const {
  const std::string& line = lines_[line_];
  return static_cast<size_t>(std::count_if(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(byte_),
                                           [](char c) { return !Continuation(c); }));
}

void TextEditor::SetColumn(size_t column) {
  const std::string& line = lines_[line_];
  byte_ = 0;
  for (size_t i = 0; i < column && byte_ < line.size(); ++i) byte_ = NextBoundary(line, byte_);
}

}  // namespace rc
