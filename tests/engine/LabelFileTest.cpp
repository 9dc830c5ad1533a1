// Label files: positions through seconds and back, the lines that are no
// areas of the recording, and pieces named after label texts.
#include "engine/LabelFile.h"
#include "engine/PieceNames.h"

#include <gtest/gtest.h>

TEST(LabelFile, PositionsComeBackFromTheirSecondsAtEveryCommonRate)
{
    for (const std::uint32_t Rate : {8000u, 11025u, 44100u, 48000u, 96000u, 192000u}) {
        const std::int64_t N = std::int64_t(Rate) * 3 * 3600; // three hours
        const std::vector<TTrimArea> Areas = {{0, 1}, {1, 2}, {12345, 67891}, {N - 7, N}};
        const QByteArray Text = LabelFileText(Areas, Rate, {"WAVE00", "a\tb", "", "c\nd"});
        const std::vector<TLabeledArea> Read = ReadLabelFile(Text, Rate, N);
        ASSERT_EQ(Read.size(), Areas.size()) << Rate;
        for (std::size_t I = 0; I < Areas.size(); ++I) {
            EXPECT_EQ(Read[I].Area.StartPos, Areas[I].StartPos) << Rate << " " << I;
            EXPECT_EQ(Read[I].Area.EndPos, Areas[I].EndPos) << Rate << " " << I;
        }
        EXPECT_EQ(Read[0].Label, "WAVE00");
        EXPECT_EQ(Read[1].Label, "a b");
        EXPECT_EQ(Read[3].Label, "c d");
    }
    EXPECT_EQ(LabelFileText({{1000, 1399}}, 44100, {"WAVE00"}), "0.022676\t0.031723\tWAVE00\n");
    // As other editors write them: CR LF, no label, a frequency line, a
    // label with tabs, a time without fraction; blank lines.
    const std::vector<TLabeledArea> Read =
        ReadLabelFile("1\t2.5\r\n\\\t100.0\t2000.0\n\n0.5\t.75\tx\ty\n \n", 1000, 3000);
    ASSERT_EQ(Read.size(), 2u);
    EXPECT_EQ(Read[0].Area.StartPos, 1000);
    EXPECT_EQ(Read[0].Area.EndPos, 2500);
    EXPECT_EQ(Read[0].Label, "");
    EXPECT_EQ(Read[1].Area.StartPos, 500);
    EXPECT_EQ(Read[1].Area.EndPos, 750);
    EXPECT_EQ(Read[1].Label, "x\ty");
}

TEST(LabelFile, ALineThatIsNoAreaOfTheRecordingFailsWithItsNumber)
{
    const struct {
        const char *Text;
        int Line;
        const char *Reason;
    } Cases[] = {
        {"1.0 2.0 a\n", 1, "not a label: start<TAB>end<TAB>label, in seconds"},
        {"0\t1\n\\\t1\t2\n\n1.5\n", 4, "not a label: start<TAB>end<TAB>label, in seconds"},
        {"-1\t2\tx\n", 1, "not a label: start<TAB>end<TAB>label, in seconds"},
        {"1e0\t2\tx\n", 1, "not a label: start<TAB>end<TAB>label, in seconds"},
        {"abc\t2\tx\n", 1, "not a label: start<TAB>end<TAB>label, in seconds"},
        {"0\t1\tok\n2.000000\t1.000000\tback\n", 2, "the start 2.000000 s is not before the end 1.000000 s"},
        {"1\t1\tpoint\n", 1, "the start 1 s is not before the end 1 s"},
        // Less than half a position apart: the same position.
        {"1.0000\t1.0004\tx\n", 1, "the area from 1.0000 s to 1.0004 s is shorter than one sample at 1000 Hz"},
        {"5\t4\n", 1, "the start 5 s is not before the end 4 s"},
        {"1\t2\n\xEF\xBB\xBF" "1\t2\n", 2, "not a label: start<TAB>end<TAB>label, in seconds"},
        {"0\t1\n2.5\t3.0016\n", 2, "the end 3.0016 s is beyond the recording, which ends at 3.001000 s"},
    };
    for (const auto &Case : Cases) {
        SCOPED_TRACE(Case.Text);
        try {
            ReadLabelFile(Case.Text, 1000, 3001);
            ADD_FAILURE() << "read";
        } catch (const ELabelFileError &Error) {
            EXPECT_EQ(Error.Line, Case.Line);
            EXPECT_EQ(Error.Reason.toStdString(), Case.Reason);
        }
    }
    EXPECT_EQ(ReadLabelFile("2.5\t3.0014\n", 1000, 3001).size(), 1u) << "rounds to the last position";
    // A line without end, from a device that never ends or not, stops the
    // reading where no label reaches.
    for (const QByteArray &Endless : {QByteArray(100000, '\0'), "0\t1\n" + QByteArray(70000, 'x') + "\t2\n"}) {
        try {
            ReadLabelFile(Endless, 1000, 3001);
            ADD_FAILURE() << "read";
        } catch (const ELabelFileError &Error) {
            EXPECT_EQ(Error.Line, Endless.startsWith('0') ? 2 : 1);
            EXPECT_EQ(Error.Reason.toStdString(), "the line goes on past 64 KiB, further than any label");
        }
    }
}

TEST(LabelFile, AByteOrderMarkAndAMillionBlankLinesAreNoAreas)
{
    // As a text editor saves it: a byte-order mark, labels between a
    // million blank lines, the last line without its line break.
    const QByteArray Text = "\xEF\xBB\xBF" "0.5\t1\tépisode\r\n" + QByteArray(1000000, '\n') + "1\t2";
    const std::vector<TLabeledArea> Read = ReadLabelFile(Text, 1000, 3000);
    ASSERT_EQ(Read.size(), 2u);
    EXPECT_EQ(Read[0].Area.StartPos, 500);
    EXPECT_EQ(Read[0].Label, QStringLiteral("épisode"));
    EXPECT_EQ(Read[1].Area.StartPos, 1000);
    EXPECT_EQ(Read[1].Area.EndPos, 2000);
}

TEST(LabelFile, PiecesNamedAfterLabelsAreSafeAndUnique)
{
    const std::vector<std::string> Names = PieceNamesFromLabels(
        {"Intro", "a/b\\c:d*e?f\"g<h>i|j", " ..hidden. ", "", "..", "intro", "Intro", "Intro_2", "CON", "lpt1.txt",
         "tab\there", QString(300, u'é'), "ok"});
    const std::vector<std::string> Expected = {"Intro",  "a_b_c_d_e_f_g_h_i_j", "hidden",   "WAVE03",  "WAVE04",
                                               "intro_2", "Intro_3",            "Intro_2_2", "CON_",   "lpt1.txt_",
                                               "tab_here", std::string(200, 'x'), "ok"};
    ASSERT_EQ(Names.size(), Expected.size());
    for (std::size_t I = 0; I < Names.size(); ++I) {
        if (I != 11) {
            EXPECT_EQ(Names[I], Expected[I]) << I;
        }
    }
    EXPECT_EQ(QString::fromStdString(Names[11]), QString(100, u'é')) << "whole characters within 200 bytes";
}
