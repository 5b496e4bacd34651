// The built windows: embedded pictures, frames and sizes, where each control lands in pixels, what
// is drawn over what, tab order, and the game's timers.
#include "tests/qt/qt_test_support.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <map>

namespace {

using qtt::px;
using qtt::qs;

QRect pixelRect(int left, int top, int width, int height) { return {px(left), px(top), px(width), px(height)}; }

// The controls that take the keyboard focus by Tab, in the order Tab visits them from `first`.
QStringList tabCycle(QWidget& window, QWidget& first)
{
    QStringList names;
    QWidget* w = &first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&window) && w->isEnabled() && !w->objectName().isEmpty())
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != &first && names.size() < 50);
    return names;
}

TEST(PictureResources, EachControlPictureHasItsDescribedPixelSize)
{
    std::map<std::string, QSize> sizes{
        {"Picture1", {41, 41}}, {"Picture2", {41, 41}},   {"Picture3", {41, 41}},  {"Picture4", {41, 41}},
        {"Picture5", {40, 45}}, {"Image1", {300, 300}},   {"Image2", {129, 52}},   {"Image18", {129, 52}},
        {"Image19", {113, 170}}, {"Image20", {104, 61}},
    };
    for (int pellet = 3; pellet <= 17; ++pellet)
        sizes["Image" + std::to_string(pellet)] = QSize(10, 10);
    for (const auto& [name, size] : sizes) {
        const forms::ControlDef* def = forms::findControl(forms::form1Definition(), name);
        ASSERT_NE(def, nullptr) << name;
        const QImage image(QStringLiteral(":/pictures/%1.bmp").arg(qs(def->picture)));
        ASSERT_FALSE(image.isNull()) << name << " has no embedded picture " << def->picture;
        EXPECT_EQ(image.size(), size) << name;
        if (def->kind == forms::ControlKind::Image) {
            EXPECT_EQ(def->width, 15 * image.width()) << name;
            EXPECT_EQ(def->height, 15 * image.height()) << name;
        }
    }
    for (std::string_view arrow : {"Command1", "Command2", "Command3", "Command4"}) {
        const forms::ControlDef* def = forms::findControl(forms::form2Definition(), arrow);
        EXPECT_EQ(QImage(QStringLiteral(":/pictures/%1.bmp").arg(qs(def->picture))).size(), QSize(40, 40)) << arrow;
    }
    const QImage pressed(QStringLiteral(":/pictures/%1.bmp").arg(qs(forms::findControl(forms::form2Definition(), "Command1")->pressedPicture)));
    EXPECT_EQ(pressed.size(), QSize(45, 45));
}

class MainWindowWidgets : public qtt::GameFixture {
protected:
    void SetUp() override { startGame(); }
    FormWindow& window() { return *app->mainWindow(); }
};

TEST_F(MainWindowWidgets, ClientAreaIsFixedAt762By524WithCaptionAndCloseBoxOnly)
{
    EXPECT_EQ(window().client().size(), QSize(762, 524));
    EXPECT_FALSE(window().minimumSize().isEmpty());
    EXPECT_EQ(window().minimumSize(), window().maximumSize());
    // The client area sits under the menu bar, not behind it.
    const QMenuBar* bar = window().findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_GE(window().client().y(), bar->geometry().bottom());
    EXPECT_EQ(window().height(), window().client().y() + 524);

    const Qt::WindowFlags flags = window().windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_NE(window().windowType(), Qt::Tool);
    EXPECT_EQ(window().windowTitle().toStdString(), std::string(forms::form1Definition().caption));
    EXPECT_TRUE(window().isVisible());

    const QRect screen = window().screen()->availableGeometry();
    EXPECT_LE((window().frameGeometry().center() - screen.center()).manhattanLength(), 4)
        << "the main window opens centred";
}

TEST_F(MainWindowWidgets, ScoreLabelAndMenuInThePlatformFontSmallWindowsInTheDesignFont)
{
    startGame();
    const QFont platform = QApplication::font();
    EXPECT_EQ(widget("Label2").font(), platform);
    const auto* bar = window().findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->font(), platform);
    app->app().commandes_Click();
    app->app().apropos_Click();
    // The small windows' captions were fitted to a narrow design font, which must stay.
    for (FormWindow* small : {app->keyHelpWindow(), app->aboutWindow()})
        for (const char* name : {"Label1", "Label5"})
            if (auto* label = small->findChild<QLabel*>(QString::fromLatin1(name))) {
                EXPECT_EQ(label->font().family(), "Liberation Sans") << name;
                EXPECT_EQ(label->font().pointSize(), forms::kFontPoints) << name;
            }
}

TEST_F(MainWindowWidgets, MenuBarHasTheOneDropDownWithoutShortcuts)
{
    const QMenuBar* bar = window().findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 1);
    QAction* title = bar->actions().front();
    EXPECT_EQ(title->text(), "menu");
    ASSERT_NE(title->menu(), nullptr);
    const QList<QAction*> items = title->menu()->actions();
    ASSERT_EQ(items.size(), 5);
    const QStringList texts{"commandes", "a propos", "liens internet", "", "quitter"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(items[i]->isSeparator(), i == 3) << i;
        if (i != 3) {
            EXPECT_EQ(items[i]->text(), texts[i]);
        }
        EXPECT_TRUE(items[i]->isEnabled());
        EXPECT_TRUE(items[i]->isVisible());
        EXPECT_FALSE(items[i]->isCheckable());
        EXPECT_TRUE(items[i]->shortcut().isEmpty());
    }
    EXPECT_EQ(&window().menuItem("commandes"), items[0]);
    EXPECT_EQ(&window().menuItem("apropos"), items[1]);
    EXPECT_EQ(&window().menuItem("liensinter"), items[2]);
    EXPECT_EQ(&window().menuItem("quitter"), items[4]);
}

TEST_F(MainWindowWidgets, EveryControlSitsAtItsPixelGeometry)
{
    // Loading the window moved the character's pictures to the start cell and the monster to its own.
    const std::map<std::string_view, QPoint> loaded{
        {"Picture1", {50, 50}}, {"Picture2", {50, 50}}, {"Picture3", {50, 50}}, {"Picture4", {50, 50}},
        {"Picture5", {4390, 3150}},
    };
    for (const forms::ControlDef& def : forms::form1Definition().controls) {
        SCOPED_TRACE(std::string(def.name));
        QWidget& w = window().control(def.name);
        EXPECT_EQ(w.parentWidget(), &window().client());
        const auto moved = loaded.find(def.name);
        const int left = moved == loaded.end() ? def.left : moved->second.x();
        const int top = moved == loaded.end() ? def.top : moved->second.y();
        EXPECT_EQ(w.geometry(), pixelRect(left, top, def.width, def.height));
    }
    EXPECT_EQ(window().control("Picture1").geometry(), QRect(3, 3, 41, 41));
    EXPECT_EQ(window().control("Picture5").geometry(), QRect(293, 210, 39, 43));
    EXPECT_EQ(window().control("Image1").geometry(), QRect(-14, 42, 300, 300));

    // Only the right-facing character shows at the start; everything else is as designed.
    EXPECT_TRUE(window().control("Picture1").isVisible());
    for (std::string_view hidden : {"Picture2", "Picture3", "Picture4"})
        EXPECT_FALSE(window().control(hidden).isVisible()) << hidden;
    for (int i = 1; i <= 20; ++i)
        EXPECT_TRUE(window().control("Image" + std::to_string(i)).isVisible()) << i;
    EXPECT_TRUE(window().control("Picture5").isVisible());
    EXPECT_TRUE(window().control("Label2").isVisible());
}

TEST_F(MainWindowWidgets, SpritesAndPelletsAreDrawnAboveTheWalls)
{
    QWidget& client = window().client();
    // The character's box reaches down into the big wall picture's top edge.
    EXPECT_EQ(client.childAt(20, 43), &window().control("Picture1"));
    // The monster's box overlaps the wall bar above it.
    EXPECT_EQ(client.childAt(300, 212), &window().control("Picture5"));
    // The left column's pellets lie inside the big wall picture's black margin.
    for (std::string_view pellet : {"Image6", "Image8", "Image9", "Image10", "Image11", "Image12", "Image13"}) {
        const QWidget& w = window().control(pellet);
        EXPECT_EQ(client.childAt(w.geometry().center()), &w) << pellet;
    }
}

TEST_F(MainWindowWidgets, ScoreLabelTextStandsOutFromItsBackground)
{
    auto& label = static_cast<QLabel&>(window().control("Label2"));
    label.setText("nombres de points: 12");
    const QImage image = qtt::grabImage(label);
    const QRgb background = image.pixel(image.width() - 2, image.height() - 2);
    const int strongContrast = qtt::countPixels(image, image.rect(), [&](QRgb c) {
        return std::abs(qtt::luminance(c) - qtt::luminance(background)) > 120;
    });
    EXPECT_GT(strongContrast, 40) << "the score must read against its background";
}

TEST_F(MainWindowWidgets, TimersArePreciseAtTheirPeriodsAndRunning)
{
    qtt::TimerSpy spy;
    ASSERT_TRUE(qtt::waitFor([&] { return spy.foundAll(); }));
    for (const forms::TimerDef& def : forms::form1Definition().timers) {
        const QString name = qtt::qs(def.name);
        QTimer* timer = spy.timer(name);
        EXPECT_EQ(timer->interval(), def.intervalMs) << def.name;
        EXPECT_EQ(timer->timerType(), Qt::PreciseTimer) << def.name;
        EXPECT_FALSE(timer->isSingleShot()) << def.name;
        EXPECT_TRUE(timer->isActive()) << def.name;
    }
    // The ticks really arrive, each clock's: how many a busy machine lets through is no test's business.
    std::map<QString, int> before;
    for (const forms::TimerDef& def : forms::form1Definition().timers)
        before[qtt::qs(def.name)] = spy.ticks(qtt::qs(def.name));
    EXPECT_TRUE(qtt::waitFor([&] {
        return std::ranges::all_of(before, [&](const auto& timer) { return spy.ticks(timer.first) > timer.second; });
    }));
}

class SmallWindowWidgets : public qtt::GameFixture {
protected:
    void SetUp() override { startGame(); }

    static void expectFixedToolWindow(FormWindow& w, QSize client)
    {
        EXPECT_EQ(w.client().size(), client);
        EXPECT_EQ(w.size(), client) << "no menu bar: the window is its client area";
        EXPECT_EQ(w.minimumSize(), w.maximumSize());
        EXPECT_EQ(w.windowType(), Qt::Tool);
        EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_TRUE(w.isVisible());
        const QRect screen = w.screen()->availableGeometry();
        EXPECT_LE((w.frameGeometry().center() - screen.center()).manhattanLength(), 4) << "opens centred";
        for (QPushButton* button : w.findChildren<QPushButton*>()) {
            EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
            EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
        }
    }
};

TEST_F(SmallWindowWidgets, KeyHelpWindowLayout)
{
    app->app().commandes_Click();
    FormWindow* w = app->keyHelpWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "commandes");
    expectFixedToolWindow(*w, QSize(284, 229));

    QWidget& frame = w->control("Frame1");
    EXPECT_EQ(frame.parentWidget(), &w->client());
    EXPECT_EQ(frame.geometry(), QRect(0, 0, 285, 183));
    auto* box = qobject_cast<QGroupBox*>(&frame);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), "commandes");
    EXPECT_EQ(w->control("Command5").parentWidget(), &w->client());
    EXPECT_EQ(w->control("Command5").geometry(), QRect(58, 192, 159, 27));
    EXPECT_EQ(static_cast<QPushButton&>(w->control("Command5")).text(), "Quitter");

    // Inside the frame, positions count from the frame's corner.
    const std::map<std::string_view, QRect> inFrame{
        {"Command4", {102, 58, 37, 35}}, {"Command3", {66, 58, 39, 35}}, {"Command2", {28, 58, 39, 35}},
        {"Command1", {66, 22, 39, 35}},  {"Label4", {6, 126, 105, 17}},  {"Label3", {90, 148, 95, 17}},
        {"Label2", {166, 22, 105, 25}},  {"Label1", {168, 112, 97, 19}},
    };
    for (const auto& [name, rect] : inFrame) {
        EXPECT_EQ(w->control(name).parentWidget(), &frame) << name;
        EXPECT_EQ(w->control(name).geometry(), rect) << name;
    }
    const std::map<std::string_view, QString> captions{
        {"Label1", "deplacement droite"}, {"Label2", "deplacement haut"},
        {"Label3", "deplacement bas"},    {"Label4", "deplacement gauhe"},
    };
    for (const auto& [name, caption] : captions) {
        auto* label = qobject_cast<QLabel*>(&w->control(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), caption);
        EXPECT_TRUE(label->alignment() & Qt::AlignLeft) << name;
    }
    // Arrow buttons are pictures only.
    for (std::string_view arrow : {"Command1", "Command2", "Command3", "Command4"})
        EXPECT_TRUE(static_cast<QAbstractButton&>(w->control(arrow)).text().isEmpty()) << arrow;

    EXPECT_EQ(tabCycle(*w, w->control("Command1")),
              (QStringList{"Command1", "Command2", "Command3", "Command4", "Command5"}));
}

TEST_F(SmallWindowWidgets, AboutWindowLayout)
{
    app->app().apropos_Click();
    FormWindow* w = app->aboutWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "A propos");
    expectFixedToolWindow(*w, QSize(311, 172));

    const std::map<std::string_view, QRect> rects{
        {"Command1", {76, 138, 149, 23}}, {"Text1", {134, 102, 115, 23}},
        {"Label5", {58, 106, 65, 17}},    {"Label6", {-2, 10, 315, 85}},
    };
    for (const auto& [name, rect] : rects) {
        EXPECT_EQ(w->control(name).parentWidget(), &w->client()) << name;
        EXPECT_EQ(w->control(name).geometry(), rect) << name;
    }
    EXPECT_EQ(static_cast<QPushButton&>(w->control("Command1")).text(), "Quitter");
    auto* text1 = qobject_cast<QLineEdit*>(&w->control("Text1"));
    ASSERT_NE(text1, nullptr);
    EXPECT_EQ(text1->text(), qs(forms::kSiteAddress));
    EXPECT_FALSE(text1->isReadOnly()) << "the player may edit the address box";
    auto* about = qobject_cast<QLabel*>(&w->control("Label6"));
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), qs(forms::findControl(forms::form3Definition(), "Label6")->caption));
    EXPECT_TRUE(about->wordWrap());
    EXPECT_TRUE(about->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(static_cast<QLabel&>(w->control("Label5")).text(), "site internet:");

    EXPECT_EQ(tabCycle(*w, w->control("Text1")), (QStringList{"Text1", "Command1"}));

    // Return in the address box is no shortcut to "Quitter": there is no default button.
    QTest::keyClick(text1, Qt::Key_Return);
    QTest::qWait(50);
    EXPECT_EQ(app->aboutWindow(), w);
    EXPECT_TRUE(w->isVisible());
}

} // namespace
