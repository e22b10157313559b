#include "calc/report_title.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(ModelTitleLine, TheFirstStarredLineOfTheReportsHead) {
    EXPECT_EQ(ModelTitleLine(u" 12/08/26\r\n 07:32:38\r\n *** AREA MODEL, VERSION 1.2 ***\r\n"
                             u"\r\n *** FULL METEOROLOGY ***\r\n"),
              u"AREA MODEL, VERSION 1.2");
    EXPECT_EQ(ModelTitleLine(u"*** SCREEN3 MODEL RUN ***"), u"SCREEN3 MODEL RUN");
}

TEST(ModelTitleLine, NoneInTheHeadGivesAnEmptyTitle) {
    EXPECT_EQ(ModelTitleLine(u""), u"");
    EXPECT_EQ(ModelTitleLine(u" ******\r\n *** \r\n"), u"");
    std::u16string late;
    for (int i = 0; i < 10; ++i) late += u"line\r\n";
    EXPECT_EQ(ModelTitleLine(late + u" *** SUMMARY ***\r\n"), u"");
    EXPECT_EQ(ModelTitleLine(u"*** " + std::u16string(300, u'x') + u" ***").size(), 200u);
}

}  // namespace
}  // namespace quorvel
