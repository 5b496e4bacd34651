// Caption texts, storing a write's value, and the bounded write list.
#include "game/writes.h"

#include <charconv>
#include <stdexcept>
#include <type_traits>

namespace game {
namespace {

static_assert(std::is_trivially_copyable_v<Write> && std::is_trivially_destructible_v<Write>);

} // namespace

CaptionText& CaptionText::append(std::string_view text)
{
    if (text.size() > kCapacity - m_size)
        throw std::length_error("a caption longer than the rules ever write");
    text.copy(m_chars.data() + m_size, text.size());
    m_size = static_cast<std::uint8_t>(m_size + text.size());
    return *this;
}

CaptionText& CaptionText::appendNumber(int number)
{
    char digits[12];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    return append({digits, static_cast<std::size_t>(end - digits)});
}

bool store(Form1Controls& controls, ControlId control, const Caption& value)
{
    if (control != ControlId::Label2)
        throw std::logic_error("a caption written to a control without one");
    const bool changed = controls.label2Caption != value.text.view();
    controls.label2Caption = value.text.view();
    return changed;
}

bool store(Form1Controls& controls, ControlId control, const PropertyValue& value)
{
    return std::visit([&](const auto& property) { return store(controls, control, property); }, value);
}

void Writes::tooMany()
{
    throw std::logic_error("a handler made more writes than any tick can");
}

} // namespace game
