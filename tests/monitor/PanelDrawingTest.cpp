#include "ScratchDir.h"
#include "Unprivileged.h"

#include "monitor/MonitorLog.h"
#include "monitor/PanelDrawing.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

using namespace lumetra;

TEST(ValueText, SeparatorsAndTheMinusSign)
{
    EXPECT_EQ(ValueText({0, 0, 1, 2, 3, 4}, {0, 1}, {0, 0}), "0012.34");
    EXPECT_EQ(ValueText({98, 0, 1, 2, 3, 4}, {0, 2}, {0, 0}), "-012:34");
    EXPECT_EQ(ValueText({1, 2, 3, 4, 5, 6}, {0, 0}, {1, 0}), "123.456");
    EXPECT_EQ(ValueText({1, 2, 3, 4, 5, 6}, {1, 0}, {0, 1}), "12.345.6");
}

TEST(PanelDrawing, BitmapsByNameForEveryControl)
{
    PanelState s;
    s.au = 1;
    s.charA = {98, 0, 1, 2, 3, 99};
    s.dpA = {0, 1};
    s.weekBits = "0000101";
    const auto first = drawPanel(s, false);
    PanelPictures pictures;
    pictures.apply(first);
    EXPECT_EQ(pictures.shown("image_str_AU"), "IMAGE_AU_1");
    EXPECT_EQ(pictures.shown("image_char_A(0)"), "IMAGE_98");
    EXPECT_EQ(pictures.shown("image_char_A(5)"), "IMAGE_99");
    EXPECT_EQ(pictures.shown("image_DP_A(1)"), "IMAGE_DPCOL_1"); // decimal points use the separator pictures
    EXPECT_EQ(pictures.shown("image_week"), "IMAGE_WEEK_0000101");
    EXPECT_EQ(first.size(), 7u + 8u + 12u + 3u);
    pictures.apply(drawPanel(s, true));
    EXPECT_EQ(pictures.shown("T_image_char_A(1)"), "IMAGE_0");

    // A name without a bitmap leaves its control as it was.
    s.weekBits = "1111111";
    s.charB[0] = 42;
    pictures.apply(drawPanel(s, false));
    EXPECT_EQ(pictures.shown("image_week"), "IMAGE_WEEK_0000101");
    EXPECT_EQ(pictures.shown("image_char_B(0)"), "IMAGE_99");
    EXPECT_TRUE(bitmapExists("image_timermode_6"));
    EXPECT_FALSE(bitmapExists("image_timermode_7"));
    EXPECT_EQ(bitmapNames().size(), 12u + 16u + 3u + 2u + 2u + 3u + 5u + 5u + 2u + 3u + 7u + 2u + 18u + 4u + 6u);
}

TEST(PanelDrawing, ClearedPicturesShowBlanks)
{
    PanelPictures pictures;
    pictures.apply(clearPanel(false));
    pictures.apply(clearPanel(true));
    for (const char* p : {"", "T_"}) {
        const std::string prefix = p;
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(pictures.shown(prefix + "image_char_B(" + std::to_string(i) + ")"), "IMAGE_99");
        EXPECT_EQ(pictures.shown(prefix + "image_DPCol_A(1)"), "IMAGE_DPCOL_0");
        EXPECT_EQ(pictures.shown(prefix + "image_Group"), "IMAGE_GROUP_0");
        EXPECT_EQ(pictures.shown(prefix + "image_str_RangeMode"), "IMAGE_RANGEMODE_0");
    }
    EXPECT_EQ(pictures.shown("image_str_OnOff"), "IMAGE_ONOFF_2");
    EXPECT_EQ(pictures.shown("image_TimerMode"), "IMAGE_TIMERMODE_0");
}

namespace {
std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::tm fixedTime()
{
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 2;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    return t;
}
} // namespace

TEST(MonitorLog, ScanRatesAndTimeStamps)
{
    EXPECT_EQ(parseScanRate("1"), 1);
    EXPECT_EQ(parseScanRate("3600"), 3600);
    for (const char* bad : {"0", "3601", "", "abc", "-5", "12a"})
        EXPECT_FALSE(parseScanRate(bad)) << bad;
    EXPECT_EQ(logTimeStamp(fixedTime()), "3/7/2026 09:05:03");
    EXPECT_EQ(delimiterFor(0), "     ");
    EXPECT_EQ(delimiterFor(1), ",");
    EXPECT_EQ(delimiterFor(2), "\t");
    EXPECT_EQ(LogSettings{}.scanRate(), 1);
}

TEST(MonitorLog, LinesByRateDelimiterAndErrors)
{
    const std::string path = (std::filesystem::temp_directory_path() / ("lumetra-log-" + std::to_string(::getpid()) + ".txt")).string();
    MonitorLog log(fixedTime);
    ASSERT_TRUE(log.start(path, 60, 1, true));
    int written = 0;
    for (int s = 0; s < 180; ++s)
        written += log.tick(true, s == 119, "0012.34", s < 100 ? "000567" : "") ? 1 : 0;
    EXPECT_EQ(written, 3); // one a minute, at 1 min 0 s
    log.stop();
    EXPECT_EQ(readAll(path), "3/7/2026 09:05:03,0012.34,000567\r\n3/7/2026 09:05:03,Error!\r\n3/7/2026 09:05:03,0012.34\r\n");
    EXPECT_FALSE(log.tick(true, false, "x", "")); // closed: nothing more

    ASSERT_TRUE(log.start(path, 1, 2, false));
    EXPECT_FALSE(log.tick(false, false, "1", "")); // monitoring stopped: skipped
    EXPECT_TRUE(log.tick(true, true, "1", "2"));    // errors not logged: the values
    ASSERT_TRUE(log.start(path, 3600, 0, false));
    int hourly = 0;
    for (int s = 0; s < 7200; ++s)
        hourly += log.tick(true, false, "5", "") ? 1 : 0;
    EXPECT_EQ(hourly, 2);
    log.stop();
    EXPECT_EQ(readAll(path), "3/7/2026 09:05:03     5\r\n3/7/2026 09:05:03     5\r\n");
    std::filesystem::remove(path);
    std::string reason;
    EXPECT_FALSE(log.start("/nonexistent-dir/log.txt", 1, 0, false, &reason));
    EXPECT_FALSE(reason.empty());
}

TEST(MonitorLog, AFullDiskStopsTheLogOnceWithTheReasonAndLinksAreNotFollowed)
{
    test::ScratchDir dir;
    const std::string path = dir.file("log.txt");
    test::shareWithUnprivileged(dir.path.string());
    // A file size limit plays the full disk: the second line no longer fits.
    const int failed = test::runUnprivileged([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{40, 40};
        MonitorLog log(fixedTime);
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0 || !log.start(path, 1, 1, false))
            return 1;
        if (!log.tick(true, false, "0012.34", "") || !log.writeError().empty())
            return 2;
        if (log.tick(true, false, "0012.34", "") || log.logging())
            return 3;
        if (log.writeError() != path + ": File too large")
            return 4;
        if (log.tick(true, false, "0012.34", "") || log.writeError() != path + ": File too large")
            return 5; // stopped: nothing more is tried
        return 0;
    });
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(readAll(path).substr(0, 27), "3/7/2026 09:05:03,0012.34\r\n");

    std::ofstream(dir.file("other.txt")) << "keep";
    std::filesystem::create_symlink(dir.file("other.txt"), dir.file("link.txt"));
    MonitorLog log(fixedTime);
    std::string reason;
    EXPECT_FALSE(log.start(dir.file("link.txt"), 1, 0, false, &reason));
    EXPECT_EQ(reason, dir.file("link.txt") + " is a symbolic link; it is not followed");
    EXPECT_EQ(readAll(dir.file("other.txt")), "keep");
}
