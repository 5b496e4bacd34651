// The three windows' design-time definitions, checked against values typed out here by hand, so a
// slip in the definition tables cannot hide behind a comparison with itself.
#include "ui/forms/form_definition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using forms::ControlKind;

struct Placed {
    std::string_view name;
    ControlKind kind;
    int left, top, width, height;
    std::string_view picture = {};
};

void expectPlacement(const forms::FormDef& form, const Placed& expected)
{
    SCOPED_TRACE(std::string(form.name) + "." + std::string(expected.name));
    const forms::ControlDef* c = forms::findControl(form, expected.name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->kind, expected.kind);
    EXPECT_EQ(c->left, expected.left);
    EXPECT_EQ(c->top, expected.top);
    EXPECT_EQ(c->width, expected.width);
    EXPECT_EQ(c->height, expected.height);
    EXPECT_EQ(c->picture, expected.picture);
}

std::vector<std::string_view> namesInOrder(const forms::FormDef& form)
{
    std::vector<std::string_view> names;
    for (const forms::ControlDef& c : form.controls)
        names.push_back(c.name);
    return names;
}

const forms::LineDef* findLine(const forms::FormDef& form, std::string_view name)
{
    for (const forms::LineDef& line : form.lines)
        if (line.name == name)
            return &line;
    return nullptr;
}

// Main window ------------------------------------------------------------------------------------

TEST(MainWindowDefinition, EveryControlHasItsPlaceSizeAndPicture)
{
    const forms::FormDef& form = forms::form1Definition();
    const std::vector<Placed> expected{
        {"Picture4", ControlKind::PictureBox, 50, 50, 620, 620, "character_up"},
        {"Picture3", ControlKind::PictureBox, 2070, 1860, 620, 620, "character_left"},
        {"Picture1", ControlKind::PictureBox, 2070, 3060, 620, 620, "character_right"},
        {"Picture2", ControlKind::PictureBox, 2880, 3030, 620, 620, "character_down"},
        {"Picture5", ControlKind::PictureBox, 4650, 1230, 585, 645, "monster"},
        {"Image20", ControlKind::Image, 2910, 5460, 1560, 915, "wall_foot"},
        {"Image19", ControlKind::Image, 4440, 3870, 1695, 2550, "wall_arch"},
        {"Image18", ControlKind::Image, 2700, 2460, 1935, 780, "wall_bar"},
        {"Label2", ControlKind::Label, 0, 7170, 11445, 765},
        {"Image17", ControlKind::Image, 2230, 5325, 150, 150, "pellet"},
        {"Image16", ControlKind::Image, 1610, 5325, 150, 150, "pellet"},
        {"Image15", ControlKind::Image, 990, 5325, 150, 150, "pellet"},
        {"Image14", ControlKind::Image, 370, 5325, 150, 150, "pellet"},
        {"Image13", ControlKind::Image, 370, 4710, 150, 150, "pellet"},
        {"Image12", ControlKind::Image, 370, 4095, 150, 150, "pellet"},
        {"Image11", ControlKind::Image, 375, 3465, 150, 150, "pellet"},
        {"Image10", ControlKind::Image, 370, 2850, 150, 150, "pellet"},
        {"Image9", ControlKind::Image, 370, 2230, 150, 150, "pellet"},
        {"Image8", ControlKind::Image, 370, 1610, 150, 150, "pellet"},
        {"Image7", ControlKind::Image, 2850, 330, 150, 150, "pellet"},
        {"Image6", ControlKind::Image, 370, 990, 150, 150, "pellet"},
        {"Image5", ControlKind::Image, 2230, 330, 150, 150, "pellet"},
        {"Image3", ControlKind::Image, 1610, 330, 150, 150, "pellet"},
        {"Image4", ControlKind::Image, 990, 330, 150, 150, "pellet"},
        {"Image2", ControlKind::Image, 690, 5580, 1935, 780, "wall_bar"},
        {"Image1", ControlKind::Image, -210, 630, 4500, 4500, "wall_block"},
    };
    for (const Placed& p : expected)
        expectPlacement(form, p);

    // The definition's order decides what is drawn over what.
    std::vector<std::string_view> order;
    for (const Placed& p : expected)
        order.push_back(p.name);
    EXPECT_EQ(namesInOrder(form), order);

    for (const forms::ControlDef& c : form.controls) {
        SCOPED_TRACE(std::string(c.name));
        EXPECT_TRUE(c.visible);
        EXPECT_TRUE(c.container.empty()) << "every main window control sits directly on the window";
        EXPECT_TRUE(c.pressedPicture.empty());
    }
    EXPECT_TRUE(forms::findControl(form, "Label2")->caption.empty());
}

TEST(MainWindowDefinition, TabOrderOfSpritesAndLabel)
{
    const std::vector<std::pair<std::string_view, int>> tabs{
        {"Picture1", 0}, {"Picture5", 1}, {"Picture2", 2}, {"Picture3", 3}, {"Picture4", 4}, {"Label2", 5}};
    for (const auto& [name, index] : tabs)
        EXPECT_EQ(forms::findControl(forms::form1Definition(), name)->tabIndex, index) << name;
}

TEST(MainWindowDefinition, CaptionIsPaddedTitleThenSiteAddress)
{
    const std::string_view caption = forms::form1Definition().caption;
    const std::string expected = std::string(79, ' ') + "GLOUTO" + std::string(55, ' ') + std::string(forms::kSiteAddress);
    EXPECT_EQ(caption, expected);
}

TEST(SiteAddress, IsAWebAddressOnAReservedExampleDomain)
{
    const std::string address(forms::kSiteAddress);
    ASSERT_TRUE(address.starts_with("http://") || address.starts_with("https://")) << address;
    std::string host = address.substr(address.find("://") + 3);
    host = host.substr(0, host.find_first_of("/:"));
    ASSERT_FALSE(host.empty());
    EXPECT_EQ(address.find(' '), std::string::npos);

    // Names no one can ever own, so the game never points players at a stranger's site.
    const auto under = [&](std::string_view domain) {
        return host == domain || (host.ends_with(domain) && host.size() > domain.size() &&
                                  host[host.size() - domain.size() - 1] == '.');
    };
    const bool reserved = under("example.org") || under("example.com") || under("example.net") || under("example") ||
                          under("test") || under("invalid");
    EXPECT_TRUE(reserved) << host;
}

TEST(MainWindowDefinition, WindowFrameClientAreaAndBackground)
{
    const forms::FormDef& form = forms::form1Definition();
    EXPECT_EQ(form.name, "Form1");
    EXPECT_EQ(form.border, forms::BorderStyle::FixedDialog);
    EXPECT_FALSE(form.showInTaskbar);
    EXPECT_TRUE(form.centred);
    EXPECT_EQ(form.clientWidth, 11430);
    EXPECT_EQ(form.clientHeight, 7860);
    EXPECT_EQ(form.background, forms::SystemColour::WindowFrame);
    EXPECT_TRUE(form.lines.empty());
}

TEST(MainWindowDefinition, ThreeTimersAllEnabledAtTheGameClockPeriods)
{
    const forms::FormDef& form = forms::form1Definition();
    ASSERT_EQ(form.timers.size(), 3u);
    const std::vector<std::pair<std::string_view, int>> periods{{"Timer1", 250}, {"Timer2", 50}, {"Timer3", 200}};
    for (const auto& [name, interval] : periods) {
        const auto timer = std::ranges::find(form.timers, name, &forms::TimerDef::name);
        ASSERT_NE(timer, form.timers.end()) << name;
        EXPECT_EQ(timer->intervalMs, interval) << name;
        EXPECT_TRUE(timer->enabled) << name;
        // A timer is not a control with a place on the window.
        EXPECT_EQ(forms::findControl(form, name), nullptr) << name;
    }
}

TEST(MainWindowDefinition, MenuTreeHasOneDropDownWithSeparatorBeforeQuitter)
{
    const forms::FormDef& form = forms::form1Definition();
    ASSERT_EQ(form.menus.size(), 1u);
    const forms::MenuDef& menu = form.menus[0];
    EXPECT_EQ(menu.name, "menu");
    EXPECT_EQ(menu.caption, "menu");

    struct Item {
        std::string_view name, caption;
        bool separator;
    };
    const std::vector<Item> expected{
        {"commandes", "commandes", false}, {"apropos", "a propos", false}, {"liensinter", "liens internet", false},
        {"barre", "-", true},              {"quitter", "quitter", false},
    };
    ASSERT_EQ(menu.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(std::string(expected[i].name));
        EXPECT_EQ(menu.items[i].name, expected[i].name);
        EXPECT_EQ(menu.items[i].caption, expected[i].caption);
        EXPECT_EQ(menu.items[i].separator, expected[i].separator);
    }
}

// Key-help window --------------------------------------------------------------------------------

TEST(KeyHelpWindowDefinition, WindowIsAFixedToolWindowOfItsClientSize)
{
    const forms::FormDef& form = forms::form2Definition();
    EXPECT_EQ(form.name, "Form2");
    EXPECT_EQ(form.caption, "commandes");
    EXPECT_EQ(form.border, forms::BorderStyle::FixedToolWindow);
    EXPECT_FALSE(form.showInTaskbar);
    EXPECT_TRUE(form.centred);
    EXPECT_EQ(form.clientWidth, 4260);
    EXPECT_EQ(form.clientHeight, 3435);
    EXPECT_TRUE(form.timers.empty());
    EXPECT_TRUE(form.menus.empty());
}

TEST(KeyHelpWindowDefinition, ButtonsFrameAndLabelsWithTheirTextsTabsAndContainer)
{
    const forms::FormDef& form = forms::form2Definition();
    struct Row {
        Placed placed;
        int tabIndex;
        std::string_view container;
        std::string_view caption;
    };
    const std::vector<Row> rows{
        {{"Command5", ControlKind::Button, 870, 2880, 2385, 405}, 9, "", "Quitter"},
        {{"Frame1", ControlKind::Frame, 0, 0, 4275, 2745}, 0, "", "commandes"},
        {{"Command4", ControlKind::PictureButton, 1530, 870, 555, 525, "arrow_right"}, 4, "Frame1", ""},
        {{"Command3", ControlKind::PictureButton, 990, 870, 585, 525, "arrow_down"}, 3, "Frame1", ""},
        {{"Command2", ControlKind::PictureButton, 420, 870, 585, 525, "arrow_left"}, 2, "Frame1", ""},
        {{"Command1", ControlKind::PictureButton, 990, 330, 585, 525, "arrow_up"}, 1, "Frame1", ""},
        {{"Label4", ControlKind::Label, 90, 1890, 1575, 255}, 8, "Frame1", "deplacement gauhe"},
        {{"Label3", ControlKind::Label, 1350, 2220, 1425, 255}, 7, "Frame1", "deplacement bas"},
        {{"Label2", ControlKind::Label, 2490, 330, 1575, 375}, 6, "Frame1", "deplacement haut"},
        {{"Label1", ControlKind::Label, 2520, 1680, 1455, 285}, 5, "Frame1", "deplacement droite"},
    };
    std::vector<std::string_view> order;
    for (const Row& row : rows) {
        expectPlacement(form, row.placed);
        order.push_back(row.placed.name);
        SCOPED_TRACE(std::string(row.placed.name));
        const forms::ControlDef* c = forms::findControl(form, row.placed.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->tabIndex, row.tabIndex);
        EXPECT_EQ(c->container, row.container);
        EXPECT_EQ(c->caption, row.caption);
        EXPECT_EQ(c->align, forms::TextAlign::Left);
        EXPECT_TRUE(c->visible);
    }
    EXPECT_EQ(namesInOrder(form), order);

    // Only the up arrow changes picture while pressed.
    EXPECT_EQ(forms::findControl(form, "Command1")->pressedPicture, "arrow_up_pressed");
    for (std::string_view other : {"Command2", "Command3", "Command4", "Command5"})
        EXPECT_TRUE(forms::findControl(form, other)->pressedPicture.empty()) << other;
}

TEST(KeyHelpWindowDefinition, FourTwoPixelLinesInsideTheFrame)
{
    const forms::FormDef& form = forms::form2Definition();
    struct Expected {
        std::string_view name;
        int x1, y1, x2, y2;
    };
    const std::vector<Expected> lines{
        {"Line4", 690, 1170, 750, 1860},
        {"Line3", 1260, 1230, 1950, 2190},
        {"Line2", 1260, 630, 2430, 450},
        {"Line1", 1800, 1170, 2430, 1680},
    };
    ASSERT_EQ(form.lines.size(), lines.size());
    for (const Expected& e : lines) {
        SCOPED_TRACE(std::string(e.name));
        const forms::LineDef* line = findLine(form, e.name);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->container, "Frame1");
        EXPECT_EQ(line->x1, e.x1);
        EXPECT_EQ(line->y1, e.y1);
        EXPECT_EQ(line->x2, e.x2);
        EXPECT_EQ(line->y2, e.y2);
        EXPECT_EQ(line->borderWidthPixels, 2);
    }
}

// About window -----------------------------------------------------------------------------------

TEST(AboutWindowDefinition, WindowIsAFixedToolWindowOfItsClientSize)
{
    const forms::FormDef& form = forms::form3Definition();
    EXPECT_EQ(form.name, "Form3");
    EXPECT_EQ(form.caption, "A propos");
    EXPECT_EQ(form.border, forms::BorderStyle::FixedToolWindow);
    EXPECT_FALSE(form.showInTaskbar);
    EXPECT_TRUE(form.centred);
    EXPECT_EQ(form.clientWidth, 4665);
    EXPECT_EQ(form.clientHeight, 2580);
    EXPECT_TRUE(form.lines.empty());
    EXPECT_TRUE(form.timers.empty());
    EXPECT_TRUE(form.menus.empty());
}

TEST(AboutWindowDefinition, ControlsWithTheirTextsAndTabs)
{
    const forms::FormDef& form = forms::form3Definition();
    const std::vector<Placed> placed{
        {"Command1", ControlKind::Button, 1140, 2070, 2235, 345},
        {"Text1", ControlKind::TextBox, 2010, 1530, 1725, 345},
        {"Label5", ControlKind::Label, 870, 1590, 975, 255},
        {"Label6", ControlKind::Label, -30, 150, 4725, 1275},
    };
    for (const Placed& p : placed)
        expectPlacement(form, p);
    EXPECT_EQ(namesInOrder(form), (std::vector<std::string_view>{"Command1", "Text1", "Label5", "Label6"}));

    EXPECT_EQ(forms::findControl(form, "Command1")->caption, "Quitter");
    EXPECT_EQ(forms::findControl(form, "Text1")->caption, forms::kSiteAddress);
    EXPECT_EQ(forms::findControl(form, "Label5")->caption, "site internet:");
    EXPECT_EQ(forms::findControl(form, "Command1")->tabIndex, 3);
    EXPECT_EQ(forms::findControl(form, "Text1")->tabIndex, 2);
    EXPECT_EQ(forms::findControl(form, "Label5")->tabIndex, 1);
    EXPECT_EQ(forms::findControl(form, "Label6")->tabIndex, 0);

    const forms::ControlDef* about = forms::findControl(form, "Label6");
    EXPECT_EQ(about->align, forms::TextAlign::Centre);
    EXPECT_TRUE(about->wordWrap);
    EXPECT_EQ(forms::findControl(form, "Label5")->align, forms::TextAlign::Left);
    EXPECT_FALSE(forms::findControl(form, "Label5")->wordWrap);
    for (const forms::ControlDef& c : form.controls)
        EXPECT_TRUE(c.container.empty()) << c.name;
}

TEST(AboutWindowDefinition, AboutTextExactly)
{
    const std::string_view text = forms::findControl(forms::form3Definition(), "Label6")->caption;
    // UTF-8 spelled out so an editor's re-encoding of this file cannot make the test agree.
    const std::string expected =
        "Voici une vesion beta de mon Glouto.Elle n'est donc pas totallement finie et reste malgr\xC3\xA9 tout "
        "imparfaite et n'est qu'une variante du jeux glouto... Remerciement a tout ceux qui m'ont aid\xC3\xA9 pour "
        "faire ce petit soft et bon amusement."
        "               "
        "Amicalement Mister Kalo";
    EXPECT_EQ(text, expected);

    const std::size_t afterAmusement = text.find("amusement.") + std::string_view("amusement.").size();
    EXPECT_EQ(text.find("Amicalement") - afterAmusement, 15u);
    EXPECT_EQ(text.find_first_not_of(' ', afterAmusement), text.find("Amicalement"));
    EXPECT_NE(text.find("Glouto.Elle"), std::string_view::npos);
    std::size_t acute = 0;
    for (std::size_t at = text.find("\xC3\xA9"); at != std::string_view::npos; at = text.find("\xC3\xA9", at + 1))
        ++acute;
    EXPECT_EQ(acute, 2u);
}

// All windows ------------------------------------------------------------------------------------

TEST(FormDefinitions, ControlNamesAreUniquePerWindowAndLookUpIsPerWindow)
{
    for (const forms::FormDef* form : {&forms::form1Definition(), &forms::form2Definition(), &forms::form3Definition()}) {
        SCOPED_TRACE(std::string(form->name));
        std::set<std::string_view> names;
        for (const forms::ControlDef& c : form->controls) {
            EXPECT_TRUE(names.insert(c.name).second) << "twice: " << c.name;
            if (!c.container.empty()) {
                const forms::ControlDef* frame = forms::findControl(*form, c.container);
                ASSERT_NE(frame, nullptr) << c.name;
                EXPECT_EQ(frame->kind, ControlKind::Frame);
            }
        }
        EXPECT_EQ(forms::findControl(*form, "NoSuchControl"), nullptr);
    }
    // Same name, different windows, different controls.
    EXPECT_EQ(forms::findControl(forms::form2Definition(), "Label2")->caption, "deplacement haut");
    EXPECT_EQ(forms::findControl(forms::form3Definition(), "Command1")->kind, ControlKind::Button);
    EXPECT_EQ(forms::findControl(forms::form2Definition(), "Command1")->kind, ControlKind::PictureButton);
}

} // namespace
