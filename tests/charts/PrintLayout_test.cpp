#include "charts/PrintLayout.h"
#include "charts/RecordingPrintDevice.h"

#include <gtest/gtest.h>

namespace oruk {
namespace {

using Kind = RecordingCanvas::Kind;

struct Job {
    RecordingPrintDevice device{600};
    PrintLayout layout{device};
    Job(bool colour = true) { EXPECT_TRUE(layout.StartJob("ORUK Analysis Report_7", 10, colour, 0)); }
    RecordingCanvas& rec() { return device.Recording(); }
};

TEST(PrintLayout, MillimetresToDotsRoundHalvesToEven) {
    Job job;
    EXPECT_EQ(job.layout.MmToDots(25.4), 600);
    EXPECT_EQ(job.layout.MmToDots(10), 236);
    EXPECT_EQ(job.layout.MmToDots(0), 0);
    // Half an inch at odd resolutions lands exactly on a half: 2.5 -> 2, 3.5 -> 4, 6.5 -> 6.
    const std::pair<int, int> halves[] = {{5, 2}, {7, 4}, {13, 6}, {15, 8}};
    for (auto [dpi, dots] : halves) {
        RecordingPrintDevice d(dpi, 100, 100);
        EXPECT_EQ(PrintLayout(d).MmToDots(12.7), dots) << dpi;
    }
}

TEST(PrintLayout, MonochromeJobTurnsColoursIntoCappedGreys) {
    Job mono(false);
    const struct {
        Rgb in;
        int grey;
    } cases[] = {{{0x91, 0xFF, 0x71}, 112},
                 {{0xFE, 0xF9, 0x8D}, 112},
                 {{0xFF, 0x46, 0x46}, 112},
                 {{0xFF, 0xFF, 0xFF}, 112},
                 {{0, 0, 0x80}, 42},
                 {{0xFF, 0, 0}, 85},
                 {{0, 0, 0}, 0},
                 {{0, 0x80, 0}, 42},
                 {{0x80, 0x80, 0}, 85}};
    for (const auto& c : cases) {
        Rgb out = mono.layout.PrintColour(c.in);
        EXPECT_EQ(out, (Rgb{static_cast<uint8_t>(c.grey), static_cast<uint8_t>(c.grey),
                            static_cast<uint8_t>(c.grey)}))
            << int(c.in.r) << "," << int(c.in.g) << "," << int(c.in.b);
    }
    Job colour(true);
    EXPECT_EQ(colour.layout.PrintColour(Rgb{0x91, 0xFF, 0x71}), (Rgb{0x91, 0xFF, 0x71}));
}

TEST(PrintLayout, JobStateAtStart) {
    Job job;
    EXPECT_EQ(job.device.Title(), "ORUK Analysis Report_7");
    EXPECT_EQ(job.layout.Dpi, 600);
    EXPECT_EQ(job.layout.CursorY, 236);
    EXPECT_EQ(job.layout.RightEdge, 4800); // A4 is wider than 8 inches
    EXPECT_EQ(job.layout.LineHeight, job.layout.MmToDots(1) + job.rec().TextHeight("X"));
    RecordingPrintDevice narrow(600, 4000, 7000);
    PrintLayout l(narrow);
    EXPECT_EQ(l.RightEdge, 4000);
}

TEST(PrintLayout, ReserveChartSpaceKeepsThePageAtEqualityAndBreaksOneDotLater) {
    Job job;
    PrintLayout& l = job.layout;
    const int fits = l.PageHeight() - l.MmToDots(5) - l.MmToDots(86) - 5 * l.LineHeight;
    l.CursorY = fits;
    l.ReserveChartSpace();
    EXPECT_EQ(job.device.Pages(), 1);
    EXPECT_EQ(l.CursorY, fits);
    l.CursorY = fits + 1;
    l.ReserveChartSpace();
    EXPECT_EQ(job.device.Pages(), 2);
    EXPECT_EQ(l.CursorY, l.MmToDots(15));
}

TEST(PrintLayout, NewPageCarriesItsNumberAtTheTopRight) {
    Job job;
    PrintLayout& l = job.layout;
    l.CursorY = l.PageHeight() - l.MmToDots(20) - l.LineHeight; // exactly at the limit: no break
    l.AdvanceLine();
    EXPECT_EQ(job.device.Pages(), 1);
    l.AdvanceLine();
    ASSERT_EQ(job.device.Pages(), 2);
    auto texts = job.rec().Texts("第   2 頁");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].v[1], 40);
    EXPECT_EQ(texts[0].v[0] + job.rec().TextWidth("第   2 頁"), l.RightEdge - 30);
    EXPECT_EQ(PageNumberText(12), "第  12 頁");
}

TEST(PrintLayout, HeaderSpaceOnEveryPageMovesLaterPagesDown) {
    RecordingPrintDevice device(600);
    PrintLayout l(device);
    ASSERT_TRUE(l.StartJob("t", 10, true, 25.0));
    l.NewPage();
    EXPECT_EQ(l.CursorY, l.MmToDots(15) + l.MmToDots(25));
}

// Watches the job and asks to abort after a given number of questions.
struct AbortAfter : PrintObserver {
    int left;
    bool started = false, ended = false;
    explicit AbortAfter(int n) : left(n) {}
    void JobStarted(const std::string&) override { started = true; }
    void JobEnded() override { ended = true; }
    bool AbortRequested() override { return left-- <= 0; }
};

TEST(PrintLayout, AbortedJobNeitherPrintsNorEjectsNorEnds) {
    RecordingPrintDevice device(600);
    AbortAfter observer(1);
    PrintLayout l(device, &observer);
    ASSERT_TRUE(l.StartJob("t", 10, true, 0));
    EXPECT_TRUE(observer.started);
    l.PrintTextLine("first");
    l.PrintTextLine("second"); // abort requested here
    EXPECT_TRUE(l.PrintAborted());
    EXPECT_TRUE(device.Aborted());
    l.CursorY = l.PageHeight();
    l.AdvanceLine();
    EXPECT_EQ(device.Pages(), 1);
    EXPECT_EQ(l.CursorY, l.MmToDots(15)); // the cursor still moves
    EXPECT_FALSE(l.EndJob());
    EXPECT_FALSE(device.Ended());
    EXPECT_TRUE(observer.ended);
    EXPECT_EQ(device.Recording().Texts("first").size(), 1u);
    EXPECT_TRUE(device.Recording().Texts("second").empty());
}

TEST(PrintLayout, PrintTextLineAtTwentyMillimetres) {
    Job job;
    int y = job.layout.CursorY;
    job.layout.PrintTextLine("abc");
    auto t = job.rec().Texts("abc");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].v, (std::vector<int>{472, y}));
    EXPECT_EQ(job.layout.CursorY, y + job.layout.LineHeight);
}

} // namespace
} // namespace oruk
