#pragma once
// File names are bytes: argv gives them so, open() takes them so, and a
// name need not be UTF-8 (lat\xe9.wav). These keep such bytes exact through
// Qt's strings, and show them where a terminal could be harmed by them.
#include <QByteArray>
#include <QString>

#include <cstdint>

// The length of the valid UTF-8 sequence at Text[0] and its code point in
// Code; 0 when Text[0] starts none (a stray, overlong, surrogate or
// truncated sequence). Left is how many bytes there are from Text on.
int Utf8Sequence(const char *Text, qsizetype Left, char32_t &Code);

// An argument's text for the option parser: UTF-8 decoded, and each byte
// that is no part of valid UTF-8 kept as the lone surrogate U+DC00+byte,
// which decoded text never holds, so ArgumentBytes gives the bytes back.
QString ArgumentText(const QByteArray &Bytes);
QByteArray ArgumentBytes(const QString &Text);

// The bytes for a terminal or a log: valid UTF-8 as it is; each byte of
// invalid UTF-8 or of a control character (C0, DEL, C1) as \xNN, so that a
// name can neither garble a message nor send the terminal a command.
QByteArray Printable(const QByteArray &Bytes);
