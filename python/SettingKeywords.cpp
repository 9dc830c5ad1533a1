#include "python/SettingKeywords.h"

#include "split/ConversionOptions.h"

#include "engine/SettingText.h"
#include "split/NameBytes.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>

namespace py = pybind11;

namespace {

std::string TypeName(const py::handle &Value)
{
    return py::str(Value.get_type().attr("__name__"));
}

// True is an int to Python, but no number of positions to anyone; a NumPy
// bool is no number either.
bool IsBool(const py::handle &Value)
{
    return py::isinstance<py::bool_>(Value)
        || (py::hasattr(Value, "dtype") && py::str(Value.attr("dtype").attr("kind")).cast<std::string>() == "b");
}

bool IsFloat(const py::handle &Value)
{
    return py::isinstance<py::float_>(Value)
        || (py::hasattr(Value, "dtype") && py::str(Value.attr("dtype").attr("kind")).cast<std::string>() == "f");
}

QString Repr(const py::handle &Value)
{
    return QString::fromStdString(py::repr(Value).cast<std::string>());
}

// A whole number, however large, as a count.
TSettingRead CountOf(const py::handle &Value, QString &Shown)
{
    const py::object Whole = py::reinterpret_steal<py::object>(PyNumber_Index(Value.ptr()));
    if (!Whole)
        throw py::error_already_set();
    Shown = QString::fromStdString(py::str(Whole).cast<std::string>());
    int Overflow = 0;
    const long long Count = PyLong_AsLongLongAndOverflow(Whole.ptr(), &Overflow);
    if (Overflow != 0)
        return {{}, Overflow > 0 ? TSettingProblem::OutOfRange : TSettingProblem::Negative};
    return SettingFromCount(Count);
}

// A float is a width in seconds; a level has no fraction, so a whole one
// is its count and any other is refused.
TSettingRead FloatOf(const TSettingSpec &Setting, const py::handle &Value, QString &Shown)
{
    const double Number = py::float_(py::reinterpret_borrow<py::object>(Value)).cast<double>();
    Shown = Repr(Value);
    if (Setting.Kind == TSettingKind::Width)
        return SettingFromSeconds(Number);
    if (std::isfinite(Number) && Number == std::floor(Number) && std::fabs(Number) < 1e15)
        return SettingFromCount(static_cast<std::int64_t>(Number));
    return {{}, TSettingProblem::Malformed};
}

void TakeLevelOrWidth(TSplitOptions &Options, const TSettingSpec &Setting, const py::handle &Value)
{
    QString Shown;
    TSettingRead Read;
    if (py::isinstance<py::str>(Value) || py::hasattr(Value, "__fspath__")) {
        Shown = ArgumentText(PathBytes(Value));
        Read = ReadSettingText(Shown, Setting.Kind);
    } else if (!IsBool(Value) && PyIndex_Check(Value.ptr())) {
        Read = CountOf(Value, Shown);
    } else if (!IsBool(Value) && IsFloat(Value)) {
        Read = FloatOf(Setting, Value, Shown);
    } else {
        throw py::type_error(std::string(Setting.Keyword) + ": give a number or a text such as \"0.4s\" or "
                             "\"-40dB\", not " + TypeName(Value));
    }
    if (Read.Problem != TSettingProblem::None)
        throw py::value_error(SettingValueError(Setting, Shown, Read.Problem).toStdString());
    *SettingValueOf(Options, Setting.Id) = Read.Value;
    Options.Given << QString::fromLatin1(Setting.Option);
}

std::string ChoicesText(const TSettingSpec &Setting)
{
    std::string Text;
    for (std::int32_t I = 0; I <= Setting.Maximum; ++I)
        Text += (I == 0 ? "" : I == Setting.Maximum ? " or " : ", ") + std::string(SettingChoice(Setting, I));
    return Text;
}

std::string DefaultText(const TSettingSpec &Setting)
{
    switch (Setting.Kind) {
    case TSettingKind::Level:
    case TSettingKind::Width: return std::to_string(Setting.Default);
    case TSettingKind::Flag: return Setting.Default != 0 ? "True" : "False";
    case TSettingKind::Choice: return "'" + std::string(SettingChoice(Setting, Setting.Default)) + "'";
    }
    return {};
}

// A help text of the table with the command line's option names ("--min-size")
// as the module's keywords ("min_size").
std::string KeywordsFor(std::string_view Help)
{
    std::string Text;
    while (!Help.empty()) {
        const std::size_t Dashes = Help.find("--");
        Text += Help.substr(0, Dashes);
        if (Dashes == std::string_view::npos)
            break;
        Help.remove_prefix(Dashes + 2);
        std::size_t End = 0;
        while (End < Help.size() && (std::islower(static_cast<unsigned char>(Help[End])) || Help[End] == '-'))
            ++End;
        const TSettingSpec *Setting = SettingOfOption(Help.substr(0, End));
        Text += Setting ? std::string(Setting->Keyword) : "--" + std::string(Help.substr(0, End));
        Help.remove_prefix(End);
    }
    return Text;
}

} // namespace

QByteArray PathBytes(const py::handle &Path)
{
    return QByteArray::fromStdString(py::module_::import("os").attr("fsencode")(Path).cast<std::string>());
}

bool FlagValue(const char *Keyword, const py::handle &Value)
{
    if (!py::isinstance<py::bool_>(Value))
        throw py::type_error(std::string(Keyword) + ": give True or False, not " + TypeName(Value));
    return Value.cast<bool>();
}

py::arg_v SettingArgument(const TSettingSpec &Setting)
{
    // Made once and kept as long as the module: the signatures point at them.
    static const std::array<std::string, std::size_t(TSettingId::Count)> Shown = [] {
        std::array<std::string, std::size_t(TSettingId::Count)> Texts;
        for (const TSettingSpec &Row : SettingTable)
            Texts[std::size_t(Row.Id)] = DefaultText(Row);
        return Texts;
    }();
    const std::string &Text = Shown[std::size_t(Setting.Id)];
    if (Setting.Kind == TSettingKind::Flag)
        return py::arg_v(Setting.Keyword, py::bool_(Setting.Default != 0), Text.c_str());
    return py::arg_v(Setting.Keyword, py::none(), Text.c_str());
}

TSplitOptions OptionsOfSettings(const TSettingValues &Values)
{
    // As the command line reads them: the levels and widths, the flags, then
    // the choices, of which target wants auto.
    TSplitOptions Options;
    bool JoinShort = false;
    for (const TSettingSpec &Setting : SettingTable) {
        const py::handle Value = Values[std::size_t(Setting.Id)];
        if (Setting.Kind == TSettingKind::Flag) {
            const bool On = FlagValue(Setting.Keyword, Value);
            (Setting.Id == TSettingId::Auto ? Options.Auto : JoinShort) = On;
        } else if (Setting.Kind != TSettingKind::Choice && !Value.is_none()) {
            TakeLevelOrWidth(Options, Setting, Value);
        }
    }
    Options.JoinShort = Options.Auto || JoinShort;
    for (const TSettingSpec &Setting : SettingTable) {
        const py::handle Value = Values[std::size_t(Setting.Id)];
        if (Setting.Kind != TSettingKind::Choice || Value.is_none())
            continue;
        if (!py::isinstance<py::str>(Value))
            throw py::type_error(std::string(Setting.Keyword) + ": give " + ChoicesText(Setting) + ", not "
                                 + TypeName(Value));
        const QString Error = ReadSettingChoice(Options, Setting.Id, QString::fromStdString(Value.cast<std::string>()));
        if (!Error.isEmpty())
            throw py::value_error(Error.toStdString());
    }
    return Options;
}

std::string SettingKeywordsHelp()
{
    std::string Text;
    for (const TSettingSpec &Setting : SettingTable) {
        Text += "    " + std::string(Setting.Keyword) + "=" + DefaultText(Setting) + "\n";
        std::string Line = "       ";
        std::string Help = KeywordsFor(Setting.Help);
        if (Help.back() != '.')
            Help += '.';
        for (std::size_t At = 0; At < Help.size();) {
            const std::size_t Space = std::min(Help.find(' ', At), Help.size());
            if (Line.size() + 1 + (Space - At) > 76) {
                Text += Line + "\n";
                Line = "       ";
            }
            Line += " " + Help.substr(At, Space - At);
            At = Space + 1;
        }
        Text += Line + "\n";
    }
    return Text;
}

void TakeConversion(TSplitOptions &Options, const TKeywordValue<TCountType> &Rate,
                    const TKeywordValue<TCountType> &Channels, const TKeywordValue<TCountType> &Bits)
{
    const std::pair<const char *, const pybind11::object *> Given[] = {
        {"rate", &Rate.Value}, {"channels", &Channels.Value}, {"bits", &Bits.Value}};
    for (const auto &[Name, Value] : Given) {
        if (Value->is_none())
            continue;
        if (pybind11::isinstance<pybind11::bool_>(*Value) || !pybind11::isinstance<pybind11::int_>(*Value))
            throw pybind11::type_error(std::string(Name) + ": give a whole number or None, not "
                                       + pybind11::str(Value->get_type().attr("__name__")).cast<std::string>());
        const QString Text = QString::fromStdString(pybind11::str(*Value).cast<std::string>());
        if (const QString Error = ReadConversionValue(QString::fromLatin1(Name), Text, Options.Convert);
            !Error.isEmpty())
            throw pybind11::value_error(Error.toStdString());
    }
}

