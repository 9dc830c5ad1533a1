#include "split/LabelOptions.h"

#include "split/NameBytes.h"

void DefineLabelOptions(QCommandLineParser &Parser)
{
    Parser.addOption({QStringLiteral("labels"),
                      QStringLiteral("Also write the pieces as a label file (start<TAB>end<TAB>name, seconds), "
                                     "labels.txt beside them; with --list, print it instead of CSV.")});
    Parser.addOption({QStringLiteral("areas"),
                      QStringLiteral("Cut exactly the areas of this label file instead of detecting (one "
                                     "recording only)."),
                      QStringLiteral("file")});
    Parser.addOption({QStringLiteral("areas-beside"),
                      QStringLiteral("Cut each NAME.wav at the areas of the label file NAME.txt beside it.")});
    Parser.addOption({QStringLiteral("name-from-labels"),
                      QStringLiteral("Name the pieces after the labels of --areas or --areas-beside.")});
}

QString ReadLabelOptions(const QCommandLineParser &Parser, TSplitOptions &Options)
{
    Options.Labels = Parser.isSet(QStringLiteral("labels"));
    Options.AreasBeside = Parser.isSet(QStringLiteral("areas-beside"));
    Options.NameFromLabels = Parser.isSet(QStringLiteral("name-from-labels"));
    if (Parser.isSet(QStringLiteral("areas"))) {
        Options.AreasFile = ArgumentBytes(Parser.value(QStringLiteral("areas")));
        if (Options.AreasFile.isEmpty())
            return QStringLiteral("--areas: give a label file (e.g. --areas talk.txt)");
        if (Options.AreasBeside)
            return QStringLiteral("--areas and --areas-beside: give one of them");
        if (Options.Files.size() != 1)
            return QStringLiteral("--areas: a label file holds the areas of one recording; give one FILE, or "
                                  "--areas-beside for several");
    }
    const bool FromLabels = !Options.AreasFile.isEmpty() || Options.AreasBeside;
    // Settings that would not be used are refused rather than ignored.
    if (FromLabels && (Options.Auto || !Options.Given.isEmpty()))
        return QStringLiteral("--%1: detection settings are not used with a label file's areas, which are cut as "
                              "they are")
            .arg(Options.Auto ? QStringLiteral("auto") : Options.Given.first());
    if (Options.NameFromLabels && !FromLabels)
        return QStringLiteral("--name-from-labels: the names come from a label file; give --areas or --areas-beside");
    if (Options.Labels && Options.Json)
        return QStringLiteral("--labels and --json: give one of them");
    if (Options.Labels && Options.List && Options.Files.size() != 1)
        return QStringLiteral("--list --labels: a label file holds the areas of one recording; give one FILE");
    return {};
}
