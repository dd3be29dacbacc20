#pragma once
// Numbered files, as the suite's code reads and writes its small text files: a process-wide table of file
// numbers 1 to 511. Text is bytes, written and read as stored.
// Errors: 52 number out of range or not open, 55 number already open, 53 Input of a missing file, 54 an
// operation the open mode does not allow, 62 reading past the end, and the file errors of FileErrors.h.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace forms {

// Input reads an existing file; Output creates or empties; Append creates or writes at the end; Binary creates
// or opens for reading and writing at the first byte, without truncating.
enum class OpenMode { Input, Output, Append, Binary };

inline constexpr int MaxFileNumber = 511;

void Open(std::string_view path, OpenMode mode, int fileNumber);
// Closing a number that is not open does nothing.
void Close(int fileNumber);
void CloseAll();
bool IsOpen(int fileNumber);

// Input mode. A line ends at CR, and an LF right after it is skipped; an LF elsewhere stays in the text;
// the last line needs no terminator.
std::string LineInput(int fileNumber);
// One field: leading blanks are skipped; it ends at a comma, a blank or a line end, which is consumed.
std::string InputField(int fileNumber);
// True when nothing is left to read (Input), or the position is at the end of the file (other modes).
bool Eof(int fileNumber);

// Output and Append: the text and CR LF.
void Print(int fileNumber, std::string_view text);
// Binary: the bytes at the current position, which moves past them; bytes beyond stay as they were.
void Put(int fileNumber, std::span<const std::uint8_t> bytes);
void Put(int fileNumber, std::string_view bytes);

}  // namespace forms
