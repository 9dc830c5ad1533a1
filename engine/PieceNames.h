#pragma once
// Pieces named after the texts of their labels instead of their numbers:
// names that every common file system takes, and no two alike.
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

// One file name without extension per label, as UTF-8 bytes. Characters
// that some file system refuses or that would make a path (/ \ : * ? " < >
// | and control characters) become "_"; spaces and dots at either end go
// (a name "." or ".." or a hidden file cannot come about); a device name
// such as CON or com1 gets a "_"; a name is kept under 200 bytes. An empty
// result is the piece's number name (WAVE00, ...). A name equal to an
// earlier one, ignoring case, gets "_2", "_3", ... .
std::vector<std::string> PieceNamesFromLabels(const QStringList &Labels);

// The name a piece gets without a label: "WAVE" and its index of at least
// two digits.
std::string NumberedPieceName(int Index);

// Names moved on to "_2", "_3", ... while Taken says the file of the name
// with Extension may not be replaced, the new name again unlike every
// other, ignoring case.
std::vector<std::string> NamesClearOf(const std::vector<std::string> &Names, const std::string &Extension,
                                      const std::function<bool(const std::string &FileName)> &Taken);
