// What the windows actually show, read back from offscreen grabs.
#include "tests/qt/qt_test_support.h"
#include "ui/qt/bmp_picture.h"

#include <QDir>
#include <QImageReader>
#include <QLabel>

namespace {

using qtt::countPixels;
using qtt::isBlack;
using qtt::isBlue;
using qtt::isWhite;
using qtt::isYellow;
using qtt::px;

bool isDark(QRgb c) { return qtt::luminance(c) < 90; }
bool isLight(QRgb c) { return qtt::luminance(c) > 170; }

// A grid cell's pixel square, from its twips corner.
QRect cellPixels(int leftTwips, int topTwips) { return {px(leftTwips), px(topTwips), px(620), px(620)}; }

// Whether a dark pixel lies within a pixel of the point: lines are only two pixels wide.
bool darkNear(const QImage& image, QPoint at)
{
    return countPixels(image, QRect(at - QPoint(1, 1), QSize(3, 3)), isDark) > 0;
}

class Rendering : public qtt::GameFixture {};

// The game reads its pictures itself: every one must come out exactly as Qt's own reader reads it
// (row order, colour order, row padding of odd widths).
TEST(Pictures, EachEmbeddedBmpReadsAsQtsOwnReaderReadsIt)
{
    const QStringList files = QDir(QStringLiteral(":/pictures")).entryList({QStringLiteral("*.bmp")});
    ASSERT_GE(files.size(), 15);
    for (const QString& file : files) {
        const QString path = QStringLiteral(":/pictures/") + file;
        const QImage ours = bmpPicture(path).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage qts = QImageReader(path).read().convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(qts.isNull()) << file.toStdString();
        EXPECT_EQ(ours, qts) << file.toStdString();
    }
    EXPECT_TRUE(bmpPicture(QStringLiteral(":/pictures/none.bmp")).isNull());
    EXPECT_TRUE(bmpPicture(QStringLiteral(":/pictures/icon_16.png")).isNull());
}

TEST_F(Rendering, BoardAtStartShowsCharacterMonsterPelletsAndWalls)
{
    startGame();
    // Grabbed before any tick: the board exactly as the load handler left it.
    const QImage board = qtt::grabImage(app->mainWindow()->client());
    qtt::keepGrab(board, "board_at_start");
    ASSERT_EQ(board.size(), QSize(762, 524));

    // The right-facing character fills its cell: yellow disc, mouth open to the right.
    const QRect character(3, 3, 41, 41);
    EXPECT_GT(countPixels(board, character, isYellow), 41 * 41 / 3);
    EXPECT_TRUE(isYellow(board.pixel(3 + 5, 3 + 20))) << "the back of the head is on the left";
    EXPECT_TRUE(isBlack(board.pixel(3 + 36, 3 + 20))) << "the mouth opens to the right";
    // The hidden facings draw nothing anywhere else.
    EXPECT_EQ(countPixels(board, QRect(138, 124, 41, 41), isYellow), 0) << "Picture3's design place";
    EXPECT_EQ(countPixels(board, QRect(192, 202, 41, 41), isYellow), 0) << "Picture2's design place";

    // The monster at its start cell, drawn whole above the wall bar it overlaps.
    const QRect monster(293, 210, 40, 45);
    EXPECT_GT(countPixels(board, monster, isBlue), 40 * 45 / 3);
    EXPECT_EQ(countPixels(board, QRect(310, 82, 39, 43), isBlue), 0) << "nothing left at Picture5's design place";

    // Every pellet shows, including the seven lying inside the big wall picture's black margin.
    for (const char* pellet : {"Image3", "Image4", "Image5", "Image6", "Image7", "Image8", "Image9", "Image10", "Image11",
                               "Image12", "Image13", "Image14", "Image15", "Image16", "Image17"}) {
        const forms::ControlDef* def = forms::findControl(forms::form1Definition(), pellet);
        const QRect dot(px(def->left), px(def->top), 10, 10);
        EXPECT_GE(countPixels(board, dot, isYellow), 12) << pellet;
        EXPECT_TRUE(isYellow(board.pixel(dot.center()))) << pellet;
    }

    // The walls' white parts, at points well inside each one.
    const std::vector<std::pair<const char*, QPoint>> walls{
        {"Image1 upright", {px(810) + 12, px(2850)}},
        {"Image1 top bar", {px(2000), px(885) + 12}},
        {"Image1 bottom bar", {px(2000), px(4815) - 12}},
        {"Image18", {px((2790 + 4365) / 2), px((2580 + 3000) / 2)}},
        {"Image2", {px((780 + 2355) / 2), px((5700 + 6120) / 2)}},
        {"Image19 top", {px((4440 + 6120) / 2), px(3930) + 6}},
        {"Image19 left upright", {px(4440) + 6, px(5500)}},
        {"Image20", {px((3225 + 4470) / 2), px((5670 + 6195) / 2)}},
    };
    for (const auto& [name, at] : walls)
        EXPECT_TRUE(isWhite(board.pixel(at))) << name << " at " << at.x() << "," << at.y();

    // Open corridors are plain black: the top row past the pellets, the bracket's opening, the right half.
    for (const QRect& open : {cellPixels(50 + 620 * 8, 50), cellPixels(50 + 620 * 3, 50 + 620 * 3),
                              cellPixels(50 + 620 * 12, 50 + 620 * 5), cellPixels(50 + 620 * 8, 50 + 620 * 8)}) {
        const QRect inner = open.adjusted(4, 4, -4, -4);
        EXPECT_EQ(countPixels(board, inner, isBlack), inner.width() * inner.height())
            << "cell at " << open.x() << "," << open.y();
    }
}

TEST_F(Rendering, ScoreLabelShowsItsTextAcrossTheBottom)
{
    startGame();
    auto& label = static_cast<QLabel&>(app->mainWindow()->control("Label2"));
    ASSERT_TRUE(qtt::waitFor([&] { return label.text() == "nombres de points: 0"; }));
    const QImage board = qtt::grabImage(app->mainWindow()->client());
    qtt::keepGrab(board, "board_with_score");

    const QRgb background = board.pixel(700, 478 + 3);
    const auto contrasting = [&](QRgb c) { return std::abs(qtt::luminance(c) - qtt::luminance(background)) > 120; };
    // Left-aligned text: ink at the left end, none at the far right.
    EXPECT_GT(countPixels(board, QRect(0, 478, 200, 30), contrasting), 60);
    EXPECT_EQ(countPixels(board, QRect(500, 478, 262, 46), contrasting), 0);
}

class SmallWindowRendering : public qtt::GameFixture {
protected:
    void SetUp() override { startGame(); }

    // The control's rectangle in the grab of its window's client area.
    static QRect rectIn(FormWindow& w, std::string_view name)
    {
        QWidget& c = w.control(name);
        return QRect(c.mapTo(&w.client(), QPoint(0, 0)), c.size());
    }
};

TEST_F(SmallWindowRendering, KeyHelpShowsItsLabelsLinesAndBlackArrows)
{
    app->app().commandes_Click();
    FormWindow& w = *app->keyHelpWindow();
    const QImage image = qtt::grabImage(w.client());
    qtt::keepGrab(image, "key_help");

    for (const char* label : {"Label1", "Label2", "Label3", "Label4"}) {
        const QRect r = rectIn(w, label);
        EXPECT_GT(countPixels(image, r, isDark), 25) << label << ": dark text";
        EXPECT_GT(countPixels(image, r, isLight), r.width() * r.height() / 2) << label << ": on a light ground";
    }
    // Each arrow button shows a solid black arrow on its grey face.
    for (const char* arrow : {"Command1", "Command2", "Command3", "Command4"}) {
        const QRect r = rectIn(w, arrow);
        EXPECT_GT(countPixels(image, r, isBlack), 250) << arrow;
        EXPECT_GT(countPixels(image, r, isLight), 250) << arrow;
    }
    const QRect quitter = rectIn(w, "Command5");
    EXPECT_GT(countPixels(image, quitter.adjusted(3, 3, -3, -3), isDark), 15) << "the Quitter caption";

    // Each line is drawn along its length, in the frame's coordinates; the buttons cover its ends.
    QWidget& frameWidget = w.control("Frame1");
    const QPoint frame = rectIn(w, "Frame1").topLeft();
    const std::vector<std::pair<const char*, QLine>> lines{
        {"Line4", {690, 1170, 750, 1860}},
        {"Line3", {1260, 1230, 1950, 2190}},
        {"Line2", {1260, 630, 2430, 450}},
        {"Line1", {1800, 1170, 2430, 1680}},
    };
    for (const auto& [name, twips] : lines) {
        int sampled = 0;
        for (int tenth = 1; tenth <= 9; ++tenth) {
            const double t = tenth / 10.0;
            const QPoint inFrame(static_cast<int>(std::lround((twips.x1() + t * twips.dx()) / 15.0)),
                                 static_cast<int>(std::lround((twips.y1() + t * twips.dy()) / 15.0)));
            if (frameWidget.childAt(inFrame) != nullptr)
                continue;
            ++sampled;
            EXPECT_TRUE(darkNear(image, frame + inFrame)) << name << " at " << t;
        }
        EXPECT_GE(sampled, 4) << name;
    }
}

TEST_F(SmallWindowRendering, UpArrowShowsItsLargerPictureWhilePressed)
{
    app->app().commandes_Click();
    FormWindow& w = *app->keyHelpWindow();
    auto& up = static_cast<QAbstractButton&>(w.control("Command1"));
    const QImage released = qtt::grabImage(up);
    up.setDown(true);
    const QImage pressed = qtt::grabImage(up);
    up.setDown(false);
    qtt::keepGrab(pressed, "up_arrow_pressed");
    EXPECT_NE(pressed, released);
    EXPECT_GT(countPixels(pressed, pressed.rect(), isBlack), countPixels(released, released.rect(), isBlack))
        << "the pressed arrow is the larger one";
}

TEST_F(SmallWindowRendering, AboutShowsItsWrappedTextAndTheAddress)
{
    app->app().apropos_Click();
    FormWindow& w = *app->aboutWindow();
    const QImage image = qtt::grabImage(w.client());
    qtt::keepGrab(image, "about");

    // The long text wraps onto several lines: ink near the top and in the lower half of its box.
    const QRect about = rectIn(w, "Label6").intersected(image.rect());
    const QRect topBand(about.left(), about.top(), about.width(), about.height() / 4);
    const QRect lowerHalf(about.left(), about.center().y(), about.width(), about.height() / 2);
    EXPECT_GT(countPixels(image, topBand, isDark), 100);
    EXPECT_GT(countPixels(image, lowerHalf, isDark), 100) << "Label6 must wrap, not run off in one line";
    // Centred: ink on both sides of the middle of the first line.
    const QRect firstLine(about.left(), about.top(), about.width(), 14);
    EXPECT_GT(countPixels(image, firstLine.adjusted(0, 0, -about.width() / 2, 0), isDark), 20);
    EXPECT_GT(countPixels(image, firstLine.adjusted(about.width() / 2, 0, 0, 0), isDark), 20);

    for (const char* name : {"Label5", "Text1"}) {
        const QRect r = rectIn(w, name).adjusted(2, 2, -2, -2);
        EXPECT_GT(countPixels(image, r, isDark), 25) << name << ": dark text";
        EXPECT_GT(countPixels(image, r, isLight), r.width() * r.height() / 2) << name << ": on a light ground";
    }
    EXPECT_GT(countPixels(image, rectIn(w, "Command1").adjusted(3, 3, -3, -3), isDark), 15) << "the Quitter caption";
}

} // namespace
