// The windows on a scaled screen: run with QT_SCALE_FACTOR set (2 for a high-density screen, 1 as
// the reference), each window must be its logical layout with every length multiplied by the
// scale, its pictures enlarged by whole pixels with no blended colours, and its text drawn at the
// screen's own resolution rather than enlarged.
#include "ui/forms/form_definition.h"
#include "ui/qt/form_window.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

int scale() { return qEnvironmentVariableIntValue("QT_SCALE_FACTOR") > 0 ? qEnvironmentVariableIntValue("QT_SCALE_FACTOR") : 1; }

int px(int twips) { return qRound(forms::pixelsFromTwips(twips)); }

QImage picture(const char* name)
{
    QImage image(QStringLiteral(":/pictures/%1.bmp").arg(QLatin1String(name)));
    EXPECT_FALSE(image.isNull()) << name;
    return image.convertToFormat(QImage::Format_RGB32);
}

struct Grab {
    std::unique_ptr<FormWindow> window;
    QPixmap pixmap;
    QImage image;  // in device pixels
};

// These windows only show themselves: nothing the player does in them is looked at.
struct IgnoredInput final : app::Input {
    void menuItemChosen(app::FormId, std::string_view) override {}
    void buttonClicked(app::FormId, std::string_view) override {}
    void closeBoxClicked(app::FormId) override {}
    void keyDown(app::ArrowKey, bool) override {}
    void keyUp(app::ArrowKey) override {}
    void focusChanged(bool) override {}
    void controllerRead(int, const app::ControllerState&) override {}
    void controllerGone(int) override {}
    void failed(std::string_view) override {}
};

Grab grabClient(const forms::FormDef& form)
{
    static IgnoredInput input;
    Grab g;
    // The window's id only names it to its input, which looks at nothing.
    g.window = std::make_unique<FormWindow>(app::FormId::Form1, form, input);
    g.window->showAndActivate();
    QApplication::processEvents();
    g.pixmap = g.window->client().grab();
    g.image = g.pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    return g;
}

// Where a control's top-left corner lands in the client area, in logical pixels.
QPoint logicalTopLeft(const FormWindow& window, const char* name)
{
    const QWidget& control = window.control(name);
    return control.mapTo(&window.client(), QPoint(0, 0));
}

// Compares a device-pixel area with a picture enlarged by the scale, nearest neighbour: every
// device pixel must be exactly the colour of the picture pixel beneath it.
void expectEnlargedExactly(const QImage& grab, QPoint logicalAt, QSize logicalSize, const QImage& pic, const char* what)
{
    const int s = scale();
    int wrong = 0;
    QPoint firstWrong;
    for (int y = 0; y < logicalSize.height() * s; ++y)
        for (int x = 0; x < logicalSize.width() * s; ++x)
            if (grab.pixel(logicalAt.x() * s + x, logicalAt.y() * s + y) != pic.pixel(x / s, y / s) && wrong++ == 0)
                firstWrong = QPoint(x, y);
    EXPECT_EQ(wrong, 0) << what << ": first wrong device pixel at +" << firstWrong.x() << ",+" << firstWrong.y();
}

class ScaledWindows : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(scale(), 1); }
};

TEST_F(ScaledWindows, GrabsAreTheLogicalSizeTimesTheScale)
{
    struct Case {
        const forms::FormDef& form;
        int width, height;  // logical client size
    };
    for (const Case& c : {Case{forms::form1Definition(), 762, 524}, Case{forms::form2Definition(), 284, 229}, Case{forms::form3Definition(), 311, 172}}) {
        const Grab g = grabClient(c.form);
        EXPECT_EQ(g.pixmap.devicePixelRatio(), scale()) << c.form.name;
        EXPECT_EQ(g.pixmap.size(), QSize(c.width, c.height) * scale()) << c.form.name;
        EXPECT_EQ(g.pixmap.deviceIndependentSize().toSize(), QSize(c.width, c.height)) << c.form.name;
    }
}

TEST_F(ScaledWindows, BoardPicturesAreEnlargedByWholePixelsInPlace)
{
    const Grab g = grabClient(forms::form1Definition());
    struct Case {
        const char* control;
        const char* picture;
    };
    for (const Case& c : {Case{"Image4", "pellet"}, Case{"Image17", "pellet"}, Case{"Picture1", "character_right"},
                          Case{"Picture3", "character_left"}, Case{"Image2", "wall_bar"}, Case{"Image19", "wall_arch"}}) {
        const forms::ControlDef& def = *forms::findControl(forms::form1Definition(), c.control);
        const QImage pic = picture(c.picture);
        // The place comes from the definition, not from the widget: a moved control fails here.
        expectEnlargedExactly(g.image, QPoint(px(def.left), px(def.top)), pic.size(), pic, c.control);
    }
    // The monster's box is a little smaller than its picture, which it clips.
    const forms::ControlDef& monster = *forms::findControl(forms::form1Definition(), "Picture5");
    expectEnlargedExactly(g.image, QPoint(px(monster.left), px(monster.top)), QSize(px(monster.width), px(monster.height)),
                          picture("monster"), "Picture5");
}

TEST_F(ScaledWindows, MonstersFirstBluePixelIsAtItsPlaceTimesTheScale)
{
    const QImage monster = picture("monster");
    const QRgb blue = monster.pixel(20, 30);
    // Its first blue row and column in the picture itself...
    int pictureTop = monster.height(), pictureLeft = monster.width();
    for (int y = 0; y < monster.height(); ++y)
        for (int x = 0; x < monster.width(); ++x)
            if (monster.pixel(x, y) == blue)
                pictureTop = std::min(pictureTop, y), pictureLeft = std::min(pictureLeft, x);
    // ...and on the whole scaled board, where nothing else is that blue.
    const Grab g = grabClient(forms::form1Definition());
    int top = g.image.height(), left = g.image.width();
    for (int y = 0; y < g.image.height(); ++y)
        for (int x = 0; x < g.image.width(); ++x)
            if (g.image.pixel(x, y) == blue)
                top = std::min(top, y), left = std::min(left, x);
    EXPECT_EQ(top, (px(1230) + pictureTop) * scale());
    EXPECT_EQ(left, (px(4650) + pictureLeft) * scale());
}

TEST_F(ScaledWindows, ArrowKeyButtonsShowOnlyTheirPicturesColours)
{
    const Grab g = grabClient(forms::form2Definition());
    const std::set<QRgb> keyColours{qRgb(222, 222, 222), qRgb(0, 0, 0)};
    const int s = scale();
    for (const char* name : {"Command1", "Command2", "Command3", "Command4"}) {
        // The middle of the button, well inside its bevel, is all picture.
        const QPoint at = logicalTopLeft(*g.window, name);
        const QSize size = g.window->control(name).size();
        const QRect middle(at.x() + size.width() / 4, at.y() + size.height() / 4, size.width() / 2, size.height() / 2);
        int blended = 0, split = 0;
        for (int y = middle.top(); y <= middle.bottom(); ++y)
            for (int x = middle.left(); x <= middle.right(); ++x) {
                const QRgb corner = g.image.pixel(x * s, y * s);
                blended += !keyColours.contains(corner);
                for (int dy = 0; dy < s; ++dy)
                    for (int dx = 0; dx < s; ++dx)
                        split += g.image.pixel(x * s + dx, y * s + dy) != corner;
            }
        EXPECT_EQ(blended, 0) << name << ": colours other than the key's grey and black";
        EXPECT_EQ(split, 0) << name << ": a picture pixel is not a whole block of device pixels";
    }
}

// Text drawn for the scaled screen has edges inside a scale-by-scale block; text drawn at the
// logical size and enlarged never has.
int blocksWithEdgesInside(const QImage& image, QRect logical)
{
    const int s = scale();
    int count = 0;
    for (int y = logical.top(); y <= logical.bottom(); ++y)
        for (int x = logical.left(); x <= logical.right(); ++x) {
            const QRgb corner = image.pixel(x * s, y * s);
            bool edge = false;
            for (int dy = 0; dy < s; ++dy)
                for (int dx = 0; dx < s; ++dx)
                    edge = edge || image.pixel(x * s + dx, y * s + dy) != corner;
            count += edge;
        }
    return count;
}

TEST_F(ScaledWindows, TextIsDrawnAtTheScreensResolution)
{
    if (scale() == 1)
        GTEST_SKIP() << "only a scaled screen can tell drawn text from enlarged text";
    const Grab about = grabClient(forms::form3Definition());
    const QWidget& label = about.window->control("Label6");
    EXPECT_GT(blocksWithEdgesInside(about.image, QRect(logicalTopLeft(*about.window, "Label6"), label.size())), 100);
    const Grab help = grabClient(forms::form2Definition());
    const QWidget& caption = help.window->control("Label1");
    EXPECT_GT(blocksWithEdgesInside(help.image, QRect(logicalTopLeft(*help.window, "Label1"), caption.size())), 20);
}

} // namespace

int main(int argc, char* argv[])
{
    // Test discovery runs this program outside ctest's environment: never reach for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's GLX flavour has an X11 interface with no connection behind it, which
    // the windows' task-bar hint cannot take; these tests need no X11 at all.
    if (!qEnvironmentVariableIsSet("QT_QPA_OFFSCREEN_NO_GLX"))
        qputenv("QT_QPA_OFFSCREEN_NO_GLX", "1");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
