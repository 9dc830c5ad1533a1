#include "python/ManifestCalls.h"

#include "split/ManifestLines.h"
#include "split/ManifestPaths.h"
#include "split/NameBytes.h"

#include <string>

namespace py = pybind11;

namespace {

QByteArray PathOf(const py::handle &Path)
{
    return QByteArray::fromStdString(py::module_::import("os").attr("fsencode")(Path).cast<std::string>());
}

} // namespace

TManifestFormat ManifestFormatOf(const std::string &Name)
{
    if (Name == "nemo")
        return TManifestFormat::Nemo;
    if (Name == "csv")
        return TManifestFormat::Csv;
    if (Name == "json")
        return TManifestFormat::Json;
    throw py::value_error("format: \"" + Name + "\" is no manifest made from records; give nemo, csv or json");
}

namespace {

template <typename T> T Field(const py::dict &Record, const char *Name)
{
    if (!Record.contains(Name))
        throw py::value_error(std::string("a record has no \"") + Name + "\"; give the records split_file or "
                              "list_file returned");
    return Record[Name].cast<T>();
}

// One recording's records as the outcome of its cut; its facts, which the
// records do not hold, from its headers.
QByteArray Lines(TManifestFormat Format, const std::vector<py::dict> &Records, const TManifestPaths &Paths)
{
    const QByteArray File = PathOf(Records.front()["file"]);
    TCutOutcome Outcome;
    Outcome.Rate = Field<std::uint32_t>(Records.front(), "rate");
    const bool Listed = !Records.front().contains("piece");
    QByteArray Folder;
    for (const py::dict &Record : Records) {
        Outcome.Areas.push_back({Field<std::int64_t>(Record, "start"), Field<std::int64_t>(Record, "end")});
        if (Listed == Record.contains("piece") || Field<std::uint32_t>(Record, "rate") != Outcome.Rate)
            throw py::value_error("the records of one recording differ in rate or in naming pieces");
        if (!Listed) {
            const QByteArray Piece = PathOf(Record["piece"]);
            Folder = Piece.left(Piece.lastIndexOf('/'));
            Outcome.PieceFiles.push_back(Piece.mid(Piece.lastIndexOf('/') + 1).toStdString());
        }
    }
    QByteArray Error;
    const std::optional<TRecordingFacts> Facts = ReadRecordingFacts(File, Error);
    if (!Facts)
        throw py::value_error(Printable(File + ": " + Error).toStdString());
    Outcome.Facts = *Facts;
    const TManifestLines Made = ManifestLines(Format, {Paths.Of(File), {}, Paths.Of(Folder), {}, &Outcome}, Listed);
    if (!Made.Error.isEmpty())
        throw py::value_error(Printable(File + ": " + Made.Error).toStdString());
    return Made.Parts.value(0);
}

py::bytes ManifestLinesOf(const py::iterable &Records, const std::string &Format)
{
    const TManifestFormat Chosen = ManifestFormatOf(Format);
    const TManifestPaths Paths{TBatchOptions{}};
    QByteArray Text;
    std::vector<py::dict> Recording;
    for (const py::handle &Item : Records) {
        if (!py::isinstance<py::dict>(Item))
            throw py::type_error("records: each is a dict, as split_file and list_file return them");
        const py::dict Record = py::reinterpret_borrow<py::dict>(Item);
        const QByteArray File = PathOf(Field<py::object>(Record, "file"));
        if (!Recording.empty() && File != PathOf(Recording.front()["file"])) {
            Text += Lines(Chosen, Recording, Paths);
            Recording.clear();
        }
        Recording.push_back(Record);
    }
    if (!Recording.empty())
        Text += Lines(Chosen, Recording, Paths);
    return {Text.constData(), std::size_t(Text.size())};
}

} // namespace

void DefineManifestCalls(py::module_ &Module)
{
    Module.def("manifest_lines", &ManifestLinesOf, py::arg("records"), py::arg("format") = "nemo",
               R"(The manifest lines redivev-split --manifest FORMAT writes for these records
(those split_file or list_file returned, of one recording or of several in
turn), as bytes: nemo, csv (without its header) or json. Paths are made
absolute from the working folder, as the command makes them; the rate,
channels and length are read from each recording's headers.)");
}
