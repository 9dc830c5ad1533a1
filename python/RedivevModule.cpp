// The Python module `redivev`: detection over NumPy arrays in place, and
// one recording at a time through redivev-split's own code, with the
// settings spelled as on its command line.
#include "python/ArrayDetection.h"
#include "python/FileCalls.h"
#include "python/ManifestCalls.h"
#include "split/NameBytes.h"
#include "split/OutputPlaces.h"
#include "split/ManifestLines.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>

namespace py = pybind11;

namespace {

// Options of the command line that are no detection setting: each call
// takes those of them it lists, the rest are refused.
const std::set<std::string> NotSettings = {"help",      "help-all", "version",  "out",      "list",
                                           "json",      "j",        "jobs",     "files-from", "0",
                                           "keep-tree", "shard",    "skip-done", "manifest", "manifest-out",
                                           "normalise"};

QByteArray PathBytes(const py::handle &Path)
{
    return QByteArray::fromStdString(py::module_::import("os").attr("fsencode")(Path).cast<std::string>());
}

py::object PathText(const QByteArray &Bytes)
{
    return py::module_::import("os").attr("fsdecode")(py::bytes(Bytes.constData(), std::size_t(Bytes.size())));
}

std::string TypeName(const py::handle &Value)
{
    return py::str(Value.get_type().attr("__name__"));
}

QString ValueText(const std::string &Keyword, const py::handle &Value)
{
    if (py::isinstance<py::str>(Value) || py::hasattr(Value, "__fspath__"))
        return ArgumentText(PathBytes(Value));
    // True is an int to Python, but no number of positions to anyone; a
    // NumPy integer is one, a NumPy bool is not.
    const bool Bool = py::isinstance<py::bool_>(Value)
        || (py::hasattr(Value, "dtype") && py::str(Value.attr("dtype").attr("kind")).cast<std::string>() == "b");
    if (!Bool && PyIndex_Check(Value.ptr())) {
        const py::object Whole = py::reinterpret_steal<py::object>(PyNumber_Index(Value.ptr()));
        if (!Whole)
            throw py::error_already_set();
        return QString::fromStdString(py::str(Whole).cast<std::string>());
    }
    if (py::isinstance<py::float_>(Value)) {
        const double Number = Value.cast<double>();
        // 100.0 is the count 100; 0.4 is no count of positions, and the
        // command line's message says to write "0.4s".
        if (std::isfinite(Number) && Number == std::floor(Number) && std::fabs(Number) < 1e15)
            return QString::number(qint64(Number));
        return QString::fromStdString(py::repr(Value).cast<std::string>());
    }
    throw py::type_error(Keyword + ": give a number or a text such as \"0.4s\" or \"-40dB\", not "
                         + TypeName(Value));
}

// The command line these keywords stand for, each keyword_name as
// --keyword-name: an option alone is a bool, True giving it and False
// leaving it out; any other takes a number or a text, never a bool, whose
// True would read as 1 or as a flag. A keyword that is no option goes to
// the parser as it is, for its message.
QStringList SettingArguments(const py::kwargs &Settings, const std::set<std::string> &Taken)
{
    QStringList Arguments;
    for (const auto &[Key, Value] : Settings) {
        const std::string Keyword = py::str(Key);
        std::string Option = Keyword;
        std::replace(Option.begin(), Option.end(), '_', '-');
        if (NotSettings.count(Option) != 0 && Taken.count(Option) == 0)
            throw py::type_error("unexpected keyword argument '" + Keyword + "'");
        const QString Name = QStringLiteral("--") + QString::fromStdString(Option);
        switch (SplitOptionForm(QString::fromStdString(Option))) {
        case TOptionForm::Flag:
            if (!py::isinstance<py::bool_>(Value))
                throw py::type_error(Keyword + ": give True or False, not " + TypeName(Value));
            if (Value.cast<bool>())
                Arguments << Name;
            break;
        case TOptionForm::Value:
            Arguments << Name << ValueText(Keyword, Value);
            break;
        case TOptionForm::Unknown:
            Arguments << Name;
            break;
        }
    }
    return Arguments;
}

// The options of redivev-split for one recording, read by its own parser;
// ValueError with its message when they are not.
TSplitOptions OptionsOf(const QStringList &Fixed, const py::kwargs &Settings, const std::set<std::string> &Taken,
                        const QByteArray &File)
{
    const QStringList Arguments = QStringList{QStringLiteral("redivev")} + SettingArguments(Settings, Taken) + Fixed
        + QStringList{QStringLiteral("--"), ArgumentText(File)};
    const TSplitCommand Command = ParseSplitCommand(Arguments);
    if (Command.Action != TSplitCommand::TAction::Run)
        throw py::value_error(Command.Text.toStdString());
    return Command.Options;
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

py::array_t<std::int64_t> Detect(py::array Samples, std::int64_t Rate, const py::kwargs &Settings)
{
    TArraySamples Read = SamplesOf(Samples, Rate);
    const TSplitOptions Options = OptionsOf({}, Settings, {}, "samples");
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

py::list Run(const py::handle &Path, const QStringList &Fixed, const py::kwargs &Settings,
             const std::set<std::string> &Taken, bool Written)
{
    const QByteArray File = PathBytes(Path);
    const TSplitOptions Options = OptionsOf(Fixed, Settings, Taken, File);
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

py::list SplitFile(const py::object &Path, const py::object &Out, const py::kwargs &Settings)
{
    return Run(Path, {QStringLiteral("--out"), ArgumentText(PathBytes(Out))}, Settings,
               {"normalise", "keep-tree", "skip-done"}, true);
}

py::list ListFile(const py::object &Path, const py::kwargs &Settings)
{
    return Run(Path, {QStringLiteral("--list")}, Settings, {"normalise"}, false);
}

} // namespace

PYBIND11_MODULE(redivev, Module)
{
    // Each docstring opens with its own signature, in the keywords' terms.
    py::options Documentation;
    Documentation.disable_function_signatures();
    Module.doc() = R"(Cut recordings into pieces at their silences.

The detection of redivev-split, from Python. Settings are keyword arguments
named as redivev-split's options with '_' for '-', in the same forms:

    cut_start_level   a level at least this opens a piece (default 100)
    no_sound_level    a level at most this is silence (default 1000)
    no_sound_width    a silence this long closes a piece (default 100)
    min_size          a piece is kept only when longer than this (default 100)
    backward_search   reach of the search for a quiet start (default 0)
    forward_search    reach of the search for a quiet end (default 0)
    pad               margin added before and after each piece (default 0)
    level_window      a level is the RMS over a window this wide (default 0)
    auto=True         suggest the rest from the recording's noise floor and
                      speech level, for pieces of one sentence

A level is a 16-bit sample level (a number, 0..32768) or dBFS ("-40dB"); a
width is a count of sample positions (a number) or seconds ("0.4s"),
converted at the recording's sample rate. A flag such as auto is True or
False, and a setting is never a bool: TypeError otherwise. A bad setting
raises ValueError with redivev-split's message; a recording that cannot be
read or cut raises ValueError naming the file and the reason. The engine runs with the
GIL released, so threads cut in parallel.)";

    Module.def("detect", &Detect, py::arg("samples"), py::arg("rate"),
               R"(detect(samples, rate, **settings) -> numpy.ndarray

The pieces of a recording held in a NumPy array, as an int64 array of shape
(pieces, 2): each row the first sample position of a piece and the position
just after it. samples: int8, uint8 (128 is silence), int16, int32, float32
or float64 (1.0 is full scale), shape (frames,) or (frames, channels) with 1
to 8 channels; the loudest channel counts. A C-contiguous array is read in
place, without a copy; any other is copied once, and so is an int8 array
with level_window, max_size or auto, for the engine's reader. rate: samples per
second, for settings given in seconds.)");

    Module.def("split_file", &SplitFile, py::arg("path"), py::arg("out"),
               R"(split_file(path, out, **settings) -> list of dict

Cuts the recording at path (WAV, RF64, Wave64 or FLAC) as redivev-split
does: its pieces WAVE00.wav, WAVE01.wav, ... (.flac for FLAC) go into the
folder out, made when missing. Beside the settings: normalise=True raises
the recording to full scale first; keep_tree=ROOT puts the pieces into
out/<path below ROOT without the extension>/; skip_done=True skips a folder
an earlier run completed with the same settings, and marks it complete.
One dict per piece: file, index, start, end (sample positions), start_s,
end_s, duration (seconds), rate, piece (the piece's path) and skipped.)");

    Module.def("list_file", &ListFile, py::arg("path"),
               R"(list_file(path, **settings) -> list of dict

The pieces redivev-split --list gives for the recording at path, writing
nothing: one dict per piece with file, index, start, end, start_s, end_s,
duration and rate. normalise=True detects as after raising the recording
to full scale.)");
    DefineManifestCalls(Module);
}
