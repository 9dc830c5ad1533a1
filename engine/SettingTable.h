#pragma once
// Every detection setting once: what it is called by a person, by
// redivev-split, by the Python module, what it takes, its default, its
// range and what it does. The settings' struct (TrimArea.h) starts at these
// defaults, the command line's options and --help are made from these rows,
// the module's keywords and their help too; the window's rows and the
// README are checked against them by tests.
#include <cstdint>
#include <limits>
#include <string_view>

// Level: a 16-bit sample level (or dBFS as text); Width: sample positions
// (or a time as text); Flag: on or off; Choice: one of a row's Choices.
enum class TSettingKind { Level, Width, Flag, Choice };

// In the table's order.
enum class TSettingId {
    CutStartLevel, NoSoundLevel, NoSoundWidth, MinimumSize, BackwardSearch, ForwardSearch, Pad, LevelWindow,
    MaximumSize, Auto, Target, JoinShort, Band, Count
};

struct TSettingSpec {
    TSettingId Id;
    const char *Name;    // as a person says it
    const char *Option;  // redivev-split's, without "--"
    const char *Keyword; // the Python module's
    TSettingKind Kind;
    const char *Unit;    // what the value is, as --help names it
    std::int32_t Default; // of a Choice, the index of its choice
    std::int32_t Minimum;
    std::int32_t Maximum;
    const char *Choices; // a Choice's names in index order, space-separated
    const char *Help;    // one sentence, without the default
};

namespace SettingRange {
constexpr std::int32_t Largest = std::numeric_limits<std::int32_t>::max();
}

// Levels and widths take 0 up to the largest position a recording has; the
// window's bars stop well short of that, and a value typed beyond one stands
// at its end.
inline constexpr TSettingSpec SettingTable[] = {
    {TSettingId::CutStartLevel, "cut start level", "cut-start-level", "cut_start_level", TSettingKind::Level,
     "level", 100, 0, SettingRange::Largest, "", "Outside a piece, a level at least this opens one"},
    {TSettingId::NoSoundLevel, "no sound level", "no-sound-level", "no_sound_level", TSettingKind::Level, "level",
     1000, 0, SettingRange::Largest, "", "A level at most this is silence"},
    {TSettingId::NoSoundWidth, "width of no sound level", "no-sound-width", "no_sound_width", TSettingKind::Width,
     "width", 100, 0, SettingRange::Largest, "", "A silence this long closes a piece"},
    {TSettingId::MinimumSize, "minimum size", "min-size", "min_size", TSettingKind::Width, "width", 100, 0,
     SettingRange::Largest, "", "A piece is kept only when longer than this"},
    {TSettingId::BackwardSearch, "backward search", "backward-search", "backward_search", TSettingKind::Width,
     "width", 0, 0, SettingRange::Largest, "", "Reach of the search for a quiet start before a piece"},
    {TSettingId::ForwardSearch, "forward search", "forward-search", "forward_search", TSettingKind::Width, "width",
     0, 0, SettingRange::Largest, "", "Reach of the search for a quiet end after a piece"},
    {TSettingId::Pad, "pad", "pad", "pad", TSettingKind::Width, "width", 0, 0, SettingRange::Largest, "",
     "Margin added before and after each piece, within its neighbours"},
    {TSettingId::LevelWindow, "level window", "level-window", "level_window", TSettingKind::Width, "width", 0, 0,
     SettingRange::Largest, "", "A level is the RMS over a window this wide, not one sample"},
    {TSettingId::MaximumSize, "max size", "max-size", "max_size", TSettingKind::Width, "width", 0, 0,
     SettingRange::Largest, "", "A longer piece is cut at its quietest moments; 0 is no limit"},
    {TSettingId::Auto, "auto", "auto", "auto", TSettingKind::Flag, "", 0, 0, 1, "",
     "Suggest each recording's settings from its noise floor and speech level, for pieces of one sentence; "
     "settings given as options take their place."},
    {TSettingId::Target, "target", "target", "target", TSettingKind::Choice, "kind", 0, 0, 2,
     "sentence phrase word",
     "With --auto, what a piece holds: sentence (default), phrase or word; the silence that ends a piece is read "
     "from the recording's own pauses."},
    {TSettingId::JoinShort, "join short", "join-short", "join_short", TSettingKind::Flag, "", 0, 0, 1, "",
     "Keep pieces shorter than --min-size (with their margins): each joins its nearer neighbour when the gap is "
     "at most two --no-sound-width, else stays a piece. On with --auto."},
    {TSettingId::Band, "band", "band", "band", TSettingKind::Choice, "band", 0, 0, 2, "off highpass speech",
     "Read levels above 80 Hz (highpass) or from 80 Hz to 4 kHz (speech), so that hum and rumble do not hide "
     "pauses; the pieces keep every sample. off is the default; --auto chooses highpass over a humming floor."},
};

constexpr bool TableInOrder()
{
    int Row = 0;
    for (const TSettingSpec &Spec : SettingTable)
        if (Spec.Id != TSettingId(Row++))
            return false;
    return Row == int(TSettingId::Count);
}
static_assert(TableInOrder(), "one row per setting, in TSettingId's order");

constexpr const TSettingSpec &SettingSpec(TSettingId Id) { return SettingTable[int(Id)]; }
constexpr std::int32_t SettingDefault(TSettingId Id) { return SettingSpec(Id).Default; }

// The row of redivev-split's option Option; nullptr when no setting has it.
constexpr const TSettingSpec *SettingOfOption(std::string_view Option)
{
    for (const TSettingSpec &Spec : SettingTable)
        if (Option == Spec.Option)
            return &Spec;
    return nullptr;
}

// The name of a Choice's choice Index ("highpass"); empty when it has none.
constexpr std::string_view SettingChoice(const TSettingSpec &Spec, std::int32_t Index)
{
    std::string_view Rest = Spec.Choices;
    for (std::int32_t I = 0; !Rest.empty(); ++I) {
        const std::size_t Space = Rest.find(' ');
        if (I == Index)
            return Rest.substr(0, Space);
        Rest = Space == std::string_view::npos ? std::string_view() : Rest.substr(Space + 1);
    }
    return {};
}

// The index of a Choice's choice Name; -1 when it is none of them.
constexpr std::int32_t SettingChoiceIndex(const TSettingSpec &Spec, std::string_view Name)
{
    for (std::int32_t I = 0; I <= Spec.Maximum; ++I)
        if (!Name.empty() && SettingChoice(Spec, I) == Name)
            return I;
    return -1;
}
