#pragma once
// The detection settings as the module's keyword arguments, one for each
// row of the table of settings (SettingTable.h), read into the options
// redivev-split's code runs with. A keyword's type in the signature says
// what it takes; its value is checked here, so that a wrong one is refused
// with the keyword's name and what to give instead.
#include "split/SplitOptions.h"

#include <pybind11/pybind11.h>

#include <array>
#include <cstddef>
#include <string>

// A keyword's value as given, of the type Tag names in the signature.
template <typename Tag> struct TKeywordValue {
    pybind11::object Value;
};

struct TFlagType {
    static constexpr auto Name = pybind11::detail::const_name("bool");
};
struct TPathType {
    static constexpr auto Name = pybind11::detail::const_name("str | os.PathLike");
};
struct TFolderType {
    static constexpr auto Name = pybind11::detail::const_name("str | os.PathLike | None");
};
struct TCountType {
    static constexpr auto Name = pybind11::detail::const_name("int | None");
};
template <TSettingKind Kind> struct TSettingType {
    static constexpr auto Name = [] {
        if constexpr (Kind == TSettingKind::Level)
            return pybind11::detail::const_name("int | str | None");
        else if constexpr (Kind == TSettingKind::Width)
            return pybind11::detail::const_name("int | float | str | None");
        else if constexpr (Kind == TSettingKind::Flag)
            return pybind11::detail::const_name("bool");
        else
            return pybind11::detail::const_name("str | None");
    }();
};

// The keyword of the table's row Row.
template <std::size_t Row> using TSettingKeyword = TKeywordValue<TSettingType<SettingTable[Row].Kind>>;

namespace pybind11::detail {
// Any value is taken, and checked by the call that reads it.
template <typename Tag> struct type_caster<TKeywordValue<Tag>> {
    PYBIND11_TYPE_CASTER(TKeywordValue<Tag>, Tag::Name);
    bool load(handle Source, bool)
    {
        value.Value = reinterpret_borrow<object>(Source);
        return true;
    }
    static handle cast(const TKeywordValue<Tag> &Source, return_value_policy, handle)
    {
        return Source.Value.inc_ref();
    }
};
} // namespace pybind11::detail

// The keyword of Setting with its default as the signature shows it. A
// flag's default is False; any other's is None, "not given", so that with
// auto=True it is suggested, and shown as the value it then stands for.
pybind11::arg_v SettingArgument(const TSettingSpec &Setting);

// The values of the settings' keywords, in the table's order.
using TSettingValues = std::array<pybind11::object, std::size_t(TSettingId::Count)>;

// Options with these settings and every other option at its default;
// TypeError for a value of the wrong type, ValueError with redivev-split's
// message for one it refuses.
TSplitOptions OptionsOfSettings(const TSettingValues &Values);

// True or False, or TypeError naming Keyword.
bool FlagValue(const char *Keyword, const pybind11::handle &Value);

// The file system's bytes of a path (str, bytes or os.PathLike).
QByteArray PathBytes(const pybind11::handle &Path);

// The settings' lines of the module's help: each keyword, its default and
// what it does.
std::string SettingKeywordsHelp();

// The pieces' form asked for with rate, channels and bits (None: the
// recording's own), checked as redivev-split checks --rate, --channels and
// --bits; raises TypeError or ValueError naming the keyword.
void TakeConversion(TSplitOptions &Options, const TKeywordValue<TCountType> &Rate,
                    const TKeywordValue<TCountType> &Channels, const TKeywordValue<TCountType> &Bits);

