// The definitions' UTF-8 texts and colours as Qt values.
#pragma once

#include "ui/forms/form_definition.h"

#include <QColor>
#include <QString>

#include <string_view>

inline QString qText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QColor qColour(forms::Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }
