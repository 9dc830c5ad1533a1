#pragma once
// redivev-split's label-file options: --labels, --areas FILE,
// --areas-beside and --name-from-labels.
#include "split/SplitOptions.h"

#include <QCommandLineParser>
#include <QString>

void DefineLabelOptions(QCommandLineParser &Parser);
// Reads them into Options (after the files); an error message when they do
// not go together.
QString ReadLabelOptions(const QCommandLineParser &Parser, TSplitOptions &Options);
