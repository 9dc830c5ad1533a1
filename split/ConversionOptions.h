#pragma once
// --rate, --channels and --bits: pieces converted for a corpus that wants
// one form (16 kHz mono 16-bit), instead of the recording's own samples.
#include "engine/PieceConversion.h"

#include <QString>

class QCommandLineParser;

void DefineConversionOptions(QCommandLineParser &Parser);
// An error message naming the option, or empty.
QString ReadConversionOptions(const QCommandLineParser &Parser, TPieceConversion &Conversion);
// One of them ("rate", "channels", "bits") as text, into Conversion; an
// error message naming the option, or empty.
QString ReadConversionValue(const QString &Name, const QString &Text, TPieceConversion &Conversion);
// The conversion as the options that ask for it, for the record a later
// --skip-done compares; empty when none is asked for.
QByteArray ConversionAsOptions(const TPieceConversion &Conversion);
