// A save edits the user's file in place: it changes the lines of the values
// it writes and leaves every other line as it was, byte for byte.
#include "SettingsTestEnv.h"

#include <climits>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Edits = std::vector<std::pair<QByteArray, QByteArray>>;

// Replaces the first occurrence of each text; an empty text means the end of the file.
QByteArray edited(QByteArray file, const Edits &edits)
{
    for (const auto &[from, to] : edits) {
        const qsizetype at = from.isEmpty() ? file.size() : file.indexOf(from);
        EXPECT_GE(at, 0) << "not in the file: " << from.constData();
        if (at >= 0)
            file.replace(at, from.size(), to);
    }
    return file;
}

struct InPlaceCase {
    const char *name;
    Edits userEdits;                                        // what the user did to a file the program wrote
    Edits saveEdits = {{"\nSample=20\n", "\nSample=45\n"}}; // what a save of [System] Sample=45 does to it
    int sample = 20;                                        // [System] Sample as loaded
};

const InPlaceCase kCases[] = {
    {"a comment on the last line, without a final line break", {{"", "; my own notes"}}},
    {"a comment on the last line, with a final line break", {{"", "# my own notes\r\n"}}},
    {"lines without an equals sign", {{"\nSample=20\n", "\nthe sample was 30 once\nSample=20\n"}, {"", "[unfinished"}}},
    {"a key written twice: the first is read and written, the second stays",
     {{"\nSample=20\n", "\nSample=7\nSAMPLE = 9\n"}}, {{"\nSample=7\n", "\nSample=45\n"}}, 7},
    {"a section written twice: a key missing from the first is added to it, not to the second",
     {{"\nPoints=250\n", "\n"}, {"", "\n[system]\nSample=9\nPoints=60\n"}},
     {{"\nSample=20\n", "\nSample=45\n"}, {"\nLast5=0\n", "\nLast5=0\nPoints=250\n"}}},
    {"an unknown section with a known key name in it", {{"\n[Alarm]\n", "\n[Mine]\nSample=1\n; mine\n\n[Alarm]\n"}}},
    {"the ends of an integer key's range",
     {{"\nUser1Min=0\n", "\nUser1Min=-2147483648\n"}, {"\nUser1Max=100\n", "\nUser1Max=2147483647\n"}}},
    {"a key spelled and spaced by hand keeps its spelling and spacing", {{"\nSample=20\n", "\n  sAmple =  20\t\r\n"}},
     {{"\n  sAmple =  20\t\r\n", "\n  sAmple =  45\r\n"}}},
};

} // namespace

TEST(SettingsFileInPlace, ASaveChangesOnlyTheLinesOfTheValuesItWrites)
{
    for (const InPlaceCase &c : kCases) {
        SCOPED_TRACE(c.name);
        SettingsTestEnv t;
        ASSERT_TRUE(t.save(t.load().settings).ok);
        const QByteArray userFile = edited(t.read(), c.userEdits);
        t.write(userFile);

        TSettings s = t.load().settings;
        EXPECT_EQ(s.System.Sample, c.sample);
        EXPECT_EQ(s.System.Points, 250);
        EXPECT_EQ(s.Graph.User1Min, userFile.contains("User1Min=-2147483648") ? INT_MIN : 0);
        s.System.Sample = 45;
        ASSERT_TRUE(t.save(s).ok);
        // A failure shows the lines that differ.
        EXPECT_EQ(t.read().toStdString(), edited(userFile, c.saveEdits).toStdString());
    }
}
