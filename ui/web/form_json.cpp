// Writing a window definition as JSON for the page, with the application layer's pixel rounding.
#include "ui/web/form_json.h"

#include "ui/app/layout.h"

#include <cstdio>
#include <string_view>
#include <vector>

namespace web {
namespace {

// A writer of our own: nlohmann/json made the same text but grew the program by 23 KB compressed,
// which would take the whole site past its 100 KB download budget.
class Json {
public:
    void text(std::string_view value)
    {
        separate();
        quoted(value);
    }
    void number(double value)
    {
        separate();
        char digits[32];
        std::snprintf(digits, sizeof digits, "%.10g", value);
        m_out += digits;
    }
    void boolean(bool value)
    {
        separate();
        m_out += value ? "true" : "false";
    }
    // A key, whose value follows without a comma.
    void key(std::string_view name)
    {
        separate();
        quoted(name);
        m_out += ':';
        m_first = true;
    }
    void open(char bracket)
    {
        separate();
        m_out += bracket;
        m_first = true;
    }
    void close(char bracket)
    {
        m_out += bracket;
        m_first = false;
    }
    void indices(const std::vector<std::size_t>& list)
    {
        open('[');
        for (const std::size_t i : list)
            number(static_cast<double>(i));
        close(']');
    }
    std::string take() { return std::move(m_out); }

private:
    void separate()
    {
        if (!m_first)
            m_out += ',';
        m_first = false;
    }
    void quoted(std::string_view value)
    {
        m_out += '"';
        for (const char c : value) {
            if (c == '"' || c == '\\') {
                m_out += '\\';
                m_out += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                m_out += escaped;
            } else {
                m_out += c;
            }
        }
        m_out += '"';
    }

    std::string m_out;
    bool m_first = true;
};

std::string_view kindName(forms::ControlKind kind)
{
    switch (kind) {
    case forms::ControlKind::PictureBox: return "picturebox";
    case forms::ControlKind::Image: return "image";
    case forms::ControlKind::Label: return "label";
    case forms::ControlKind::Button: return "button";
    case forms::ControlKind::PictureButton: return "picturebutton";
    case forms::ControlKind::Frame: return "frame";
    case forms::ControlKind::TextBox: return "textbox";
    }
    return "";
}

// A CSS colour of the definitions' own.
std::string cssColour(forms::Rgb colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return text;
}

// A CSS colour: the board's, or the page's own colour of that system element.
std::string cssColour(forms::SystemColour colour)
{
    switch (colour) {
    case forms::SystemColour::WindowFrame: return cssColour(forms::kBoardColour);
    case forms::SystemColour::ButtonFace: return "ButtonFace";
    }
    return "";
}

std::string pictureUrl(std::string_view name)
{
    return name.empty() ? std::string() : std::string(kPictureFolder) + std::string(name) + ".bmp";
}

void control(Json& json, const forms::ControlDef& def)
{
    const app::PixelRect rect = app::pixelRect(def);
    json.open('{');
    json.key("name"); json.text(def.name);
    json.key("kind"); json.text(kindName(def.kind));
    json.key("x"); json.number(rect.x);
    json.key("y"); json.number(rect.y);
    json.key("width"); json.number(rect.width);
    json.key("height"); json.number(rect.height);
    json.key("visible"); json.boolean(def.visible);
    json.key("picture"); json.text(pictureUrl(def.picture));
    json.key("pressedPicture"); json.text(pictureUrl(def.pressedPicture.empty() ? def.picture : def.pressedPicture));
    json.key("caption"); json.text(def.caption);
    json.key("container"); json.text(def.container);
    json.key("centred"); json.boolean(def.align == forms::TextAlign::Centre);
    json.key("wrap"); json.boolean(def.wordWrap);
    json.close('}');
}

void line(Json& json, const forms::LineDef& def)
{
    json.open('{');
    json.key("container"); json.text(def.container);
    json.key("x1"); json.number(forms::pixelsFromTwips(def.x1));
    json.key("y1"); json.number(forms::pixelsFromTwips(def.y1));
    json.key("x2"); json.number(forms::pixelsFromTwips(def.x2));
    json.key("y2"); json.number(forms::pixelsFromTwips(def.y2));
    json.key("width"); json.number(def.borderWidthPixels);
    json.close('}');
}

void menu(Json& json, const forms::MenuDef& def)
{
    json.open('{');
    json.key("caption"); json.text(def.caption);
    json.key("items"); json.open('[');
    for (const forms::MenuItemDef& item : def.items) {
        json.open('{');
        json.key("name"), json.text(item.name);
        json.key("caption"), json.text(item.caption);
        json.key("separator"), json.boolean(item.separator);
        json.close('}');
    }
    json.close(']');
    json.close('}');
}

} // namespace

std::string formJson(const forms::FormDef& form)
{
    Json json;
    json.open('{');
    json.key("name"); json.text(form.name);
    json.key("caption"); json.text(form.caption);
    json.key("tool"); json.boolean(form.border == forms::BorderStyle::FixedToolWindow);
    json.key("width"); json.number(app::pixels(form.clientWidth));
    json.key("height"); json.number(app::pixels(form.clientHeight));
    json.key("background"); json.text(cssColour(form.background));
    json.key("pictureBackground"); json.text(cssColour(forms::kBoardColour));
    json.key("designFont"); json.boolean(form.font == forms::FontChoice::Design);
    json.key("fontFamily"); json.text(forms::kDesignFontFamily);
    json.key("fontPoints"); json.number(forms::kFontPoints);
    json.key("menus"); json.open('[');
    for (const forms::MenuDef& def : form.menus)
        menu(json, def);
    json.close(']');
    json.key("controls"); json.open('[');
    for (const forms::ControlDef& def : form.controls)
        control(json, def);
    json.close(']');
    json.key("stacking"); json.indices(app::stackingOrder(form));
    json.key("tabOrder"); json.indices(app::tabOrder(form));
    json.key("lines"); json.open('[');
    for (const forms::LineDef& def : form.lines)
        line(json, def);
    json.close(']');
    json.close('}');
    return json.take();
}

} // namespace web
