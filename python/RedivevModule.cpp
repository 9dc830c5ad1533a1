// The Python module `redivev`: detection over NumPy arrays in place, and
// one recording at a time through redivev-split's own code, with the
// settings of the table of them as keyword arguments (SettingKeywords.h).
#include "python/ArrayDetection.h"
#include "python/FileCalls.h"
#include "python/ManifestCalls.h"
#include "python/SettingKeywords.h"
#include "split/NameBytes.h"
#include "split/OutputPlaces.h"
#include "split/ManifestLines.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace py = pybind11;

namespace {

py::object PathText(const QByteArray &Bytes)
{
    return py::module_::import("os").attr("fsdecode")(py::bytes(Bytes.constData(), std::size_t(Bytes.size())));
}

TArraySamples SamplesOf(py::array &Samples, std::int64_t Rate)
{
    if (Rate < 1 || Rate > std::numeric_limits<std::uint32_t>::max())
        throw py::value_error("rate: give the samples per second, 1 to 4294967295, not " + std::to_string(Rate));
    if (Samples.ndim() != 1 && Samples.ndim() != 2)
        throw py::value_error("samples: give an array of shape (frames,) or (frames, channels), not one of "
                              + std::to_string(Samples.ndim()) + " dimensions");
    const py::dtype Type = Samples.dtype();
    TArraySamples Read;
    Read.Kind = Type.kind();
    Read.Bytes = int(Type.itemsize());
    Read.Frames = Samples.ndim() == 0 ? 0 : Samples.shape(0);
    Read.Channels = Samples.ndim() == 2 ? int(Samples.shape(1)) : 1;
    Read.Rate = std::uint32_t(Rate);
    if (!IsReadable(Read))
        throw py::type_error("samples: give int8, uint8, int16, int32, float32 or float64 samples in 1 to 8 "
                             "channels, not " + py::str(py::handle(Type)).cast<std::string>() + " in " + std::to_string(Read.Channels));
    // Read in place when the frames lie one after another in the machine's
    // byte order; anything else (a strided view, a swapped byte order) is
    // copied once into that layout.
    const bool Native = py::str(Type.attr("byteorder")).cast<std::string>() != ">";
    if (!Native || !(Samples.flags() & py::array::c_style))
        Samples = py::module_::import("numpy").attr("ascontiguousarray")(
            Samples, Type.attr("newbyteorder")("="));
    Read.Data = Samples.data();
    return Read;
}

py::array_t<std::int64_t> Detect(py::array Samples, std::int64_t Rate, const TSplitOptions &Options)
{
    TArraySamples Read = SamplesOf(Samples, Rate);
    TArrayPieces Pieces;
    {
        const py::gil_scoped_release Free;
        Pieces = DetectInArray(Read, Options);
    }
    if (!Pieces.Error.isEmpty())
        throw py::value_error(Pieces.Error.toStdString());
    const std::vector<TTrimArea> &Areas = Pieces.Areas;
    py::array_t<std::int64_t> Result({py::ssize_t(Areas.size()), py::ssize_t(2)});
    auto Out = Result.mutable_unchecked<2>();
    for (std::size_t I = 0; I < Areas.size(); ++I) {
        Out(py::ssize_t(I), 0) = Areas[I].StartPos;
        Out(py::ssize_t(I), 1) = Areas[I].EndPos;
    }
    return Result;
}

double SecondsOf(std::int64_t Positions, std::uint32_t Rate)
{
    return Rate > 0 ? double(Positions) / Rate : std::nan("");
}

py::list Records(const QByteArray &File, const TFileResult &Result, bool Written)
{
    const TCutOutcome &Outcome = Result.Outcome;
    py::list Pieces;
    const py::object Source = PathText(File);
    for (std::size_t I = 0; I < Outcome.Areas.size(); ++I) {
        const TTrimArea &Area = Outcome.Areas[I];
        py::dict Record;
        Record["file"] = Source;
        Record["index"] = I;
        Record["start"] = Area.StartPos;
        Record["end"] = Area.EndPos;
        Record["start_s"] = SecondsOf(Area.StartPos, Outcome.Rate);
        Record["end_s"] = SecondsOf(Area.EndPos, Outcome.Rate);
        Record["duration"] = SecondsOf(Area.EndPos - Area.StartPos, Outcome.Rate);
        Record["rate"] = Outcome.Rate;
        if (Written) {
            Record["piece"] =
                PathText(PiecePath(Result.Folder, std::int32_t(I), Outcome.Container, Outcome.PieceFiles));
            Record["skipped"] = Outcome.Skipped;
        }
        Pieces.append(Record);
    }
    return Pieces;
}

py::list Run(const py::handle &Path, const TSplitOptions &Options, bool Written)
{
    const QByteArray File = PathBytes(Path);
    TFileResult Result;
    {
        const py::gil_scoped_release Free;
        Result = CutFile(File, Options);
    }
    if (!Result.Outcome.Error.isEmpty()) {
        const QByteArray Message = Printable(File + ": " + Result.Outcome.Error);
        throw py::value_error(Message.toStdString());
    }
    return Records(File, Result, Written);
}

// Each recording's manifest lines, or the message of why it has none.
py::list RunBatch(const py::iterable &Paths, const TSplitOptions &Options, TManifestFormat Format)
{
    if (py::isinstance<py::str>(Paths) || py::isinstance<py::bytes>(Paths) || py::hasattr(Paths, "__fspath__"))
        throw py::type_error("paths: give a list of paths, not one path");
    QByteArrayList Files;
    for (const py::handle &Path : Paths)
        Files << PathBytes(Path);
    std::vector<TBatchFile> Results;
    {
        const py::gil_scoped_release Free;
        Results = CutFiles(Files, Options, Format);
    }
    py::list Made;
    for (const TBatchFile &Result : Results) {
        const py::object Error =
            Result.Error.isEmpty() ? py::object(py::none()) : py::str(Result.Error.constData(), std::size_t(Result.Error.size()));
        Made.append(py::make_tuple(py::bytes(Result.Lines.constData(), std::size_t(Result.Lines.size())), Error));
    }
    return Made;
}

// split_file's own options beside the settings, as redivev-split reads
// --out, --keep-tree and --skip-done.
void TakeFolders(TSplitOptions &Options, const py::handle &Out, const py::handle &KeepTree, bool SkipDone)
{
    Options.OutDir = PathBytes(Out);
    if (Options.OutDir.isEmpty())
        throw py::value_error("--out: give a folder (e.g. --out pieces)");
    if (!KeepTree.is_none()) {
        if (!py::isinstance<py::str>(KeepTree) && !py::isinstance<py::bytes>(KeepTree)
            && !py::hasattr(KeepTree, "__fspath__"))
            throw py::type_error("keep_tree: give a folder (a str or a path), not "
                                 + py::str(KeepTree.get_type().attr("__name__")).cast<std::string>());
        Options.Batch.KeepTree = PathBytes(KeepTree);
        if (Options.Batch.KeepTree.isEmpty())
            throw py::value_error("--keep-tree: give the folder the recordings' paths are taken below");
    }
    Options.Batch.SkipDone = SkipDone;
}

using TPath = TKeywordValue<TPathType>;

const char *const ModuleHelp = R"(Cut recordings into pieces at their silences.

The detection of redivev-split, from Python. Settings are keyword arguments
named as redivev-split's options with '_' for '-', in the same forms. A
level is a 16-bit sample level (an int, 0..32768) or dBFS ("-40dB"); a width
is a count of sample positions (an int), seconds (a float, 0.4, or "0.4s")
or milliseconds ("400ms"), converted at the recording's sample rate. A
setting left out (or None) is its default, or with auto=True the one
suggested from the recording. A flag is True or False, and a setting is
never a bool: TypeError otherwise, and for a keyword that is no setting. A
bad setting raises ValueError with redivev-split's message; a recording
that cannot be read or cut raises ValueError naming the file and the
reason. The engine runs with the GIL released, so threads cut in parallel.

The settings, with their defaults:

)";

const char *const DetectHelp = R"(The pieces of a recording held in a NumPy array, as an int64 array of shape
(pieces, 2): each row the first sample position of a piece and the position
just after it. samples: int8, uint8 (128 is silence), int16, int32, float32
or float64 (1.0 is full scale), shape (frames,) or (frames, channels) with 1
to 8 channels; the loudest channel counts. A C-contiguous array is read in
place, without a copy; any other is copied once, and so is an int8 array
with level_window, max_size or auto, for the engine's reader. rate: samples per
second, for settings given in seconds. The settings: help(redivev).)";

const char *const SplitFileHelp = R"(Cuts the recording at path (WAV, RF64, Wave64 or FLAC) as redivev-split
does: its pieces WAVE00.wav, WAVE01.wav, ... (.flac for FLAC) go into the
folder out, made when missing. Beside the settings: normalise=True raises
the recording to full scale first; keep_tree=ROOT puts the pieces into
out/<path below ROOT without the extension>/; skip_done=True skips a folder
an earlier run completed with the same settings, and marks it complete;
rate=16000, channels=1 and bits=16 write the pieces converted as
redivev-split --rate, --channels and --bits do (None: the recording's own).
One dict per piece: file, index, start, end (sample positions), start_s,
end_s, duration (seconds), rate, piece (the piece's path) and skipped.)";

const char *const SplitFilesHelp = R"(Cuts the recordings at paths (a list) as redivev-split cuts its list, one
after the other with the GIL released, without a dict per piece: for each,
in order, (lines, error): the bytes redivev-split --manifest FORMAT writes
for it (format nemo, csv without its header, or json; paths absolute from
the working folder) and None, or b"" and the message split_file would raise
("PATH: why"). out, keep_tree, skip_done, normalise, rate, channels, bits
and the settings as for split_file; without keep_tree each recording's
pieces go into a folder named after it, or into out itself when the list
is one recording, and of two recordings whose pieces would meet in one
folder the later fails. A bad keyword raises as for split_file.)";

const char *const ListFileHelp = R"(The pieces redivev-split --list gives for the recording at path, writing
nothing: one dict per piece with file, index, start, end, start_s, end_s,
duration and rate. normalise=True detects as after raising the recording
to full scale.)";

// The three calls, each with one keyword per row of the table of settings,
// in its order.
template <std::size_t... Row> void DefineCalls(py::module_ &Module, std::index_sequence<Row...>)
{
    Module.def(
        "detect",
        [](py::array Samples, std::int64_t Rate, TSettingKeyword<Row>... Settings) {
            return Detect(std::move(Samples), Rate, OptionsOfSettings({std::move(Settings.Value)...}));
        },
        py::arg("samples"), py::arg("rate"), py::kw_only(), SettingArgument(SettingTable[Row])..., DetectHelp);
    Module.def(
        "split_file",
        [](const TPath &Path, const TPath &Out, const TKeywordValue<TFlagType> &Normalise,
           const TKeywordValue<TFolderType> &KeepTree, const TKeywordValue<TFlagType> &SkipDone,
           const TKeywordValue<TCountType> &PieceRate, const TKeywordValue<TCountType> &Channels,
           const TKeywordValue<TCountType> &Bits, TSettingKeyword<Row>... Settings) {
            TSplitOptions Options = OptionsOfSettings({std::move(Settings.Value)...});
            Options.Normalise = FlagValue("normalise", Normalise.Value);
            TakeFolders(Options, Out.Value, KeepTree.Value, FlagValue("skip_done", SkipDone.Value));
            TakeConversion(Options, PieceRate, Channels, Bits);
            return Run(Path.Value, Options, true);
        },
        py::arg("path"), py::arg("out"), py::kw_only(), py::arg("normalise") = false, py::arg("keep_tree") = py::none(),
        py::arg("skip_done") = false, py::arg("rate") = py::none(), py::arg("channels") = py::none(),
        py::arg("bits") = py::none(), SettingArgument(SettingTable[Row])..., SplitFileHelp);
    Module.def(
        "split_files",
        [](const py::iterable &Paths, const TPath &Out, const std::string &Format,
           const TKeywordValue<TFlagType> &Normalise, const TKeywordValue<TFolderType> &KeepTree,
           const TKeywordValue<TFlagType> &SkipDone, const TKeywordValue<TCountType> &PieceRate,
           const TKeywordValue<TCountType> &Channels, const TKeywordValue<TCountType> &Bits,
           TSettingKeyword<Row>... Settings) {
            const TManifestFormat Chosen = ManifestFormatOf(Format);
            TSplitOptions Options = OptionsOfSettings({std::move(Settings.Value)...});
            Options.Normalise = FlagValue("normalise", Normalise.Value);
            TakeFolders(Options, Out.Value, KeepTree.Value, FlagValue("skip_done", SkipDone.Value));
            TakeConversion(Options, PieceRate, Channels, Bits);
            return RunBatch(Paths, Options, Chosen);
        },
        py::arg("paths"), py::arg("out"), py::kw_only(), py::arg("format") = "nemo", py::arg("normalise") = false,
        py::arg("keep_tree") = py::none(), py::arg("skip_done") = false, py::arg("rate") = py::none(),
        py::arg("channels") = py::none(), py::arg("bits") = py::none(), SettingArgument(SettingTable[Row])...,
        SplitFilesHelp);
    Module.def(
        "list_file",
        [](const TPath &Path, const TKeywordValue<TFlagType> &Normalise, TSettingKeyword<Row>... Settings) {
            TSplitOptions Options = OptionsOfSettings({std::move(Settings.Value)...});
            Options.Normalise = FlagValue("normalise", Normalise.Value);
            Options.List = true;
            return Run(Path.Value, Options, false);
        },
        py::arg("path"), py::kw_only(), py::arg("normalise") = false, SettingArgument(SettingTable[Row])...,
        ListFileHelp);
}

} // namespace

PYBIND11_MODULE(redivev, Module)
{
    static const std::string Help = ModuleHelp + SettingKeywordsHelp();
    Module.doc() = Help;
    Module.attr("__version__") = REDIVEV_VERSION;
    DefineCalls(Module, std::make_index_sequence<std::size(SettingTable)>());
    DefineManifestCalls(Module);
}
