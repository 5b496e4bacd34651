// The parts of a window that paint the definition themselves: the client area and frames, with their lines.
#pragma once

#include "ui/forms/form_definition.h"

#include <QGroupBox>
#include <QWidget>

#include <span>
#include <string_view>

// The client area: the form's background colour and its lines.
class ClientArea final : public QWidget {
public:
    ClientArea(const forms::FormDef& form, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const forms::FormDef& m_form;
};

// A frame holding controls, with the lines drawn on it.
class FrameBox final : public QGroupBox {
public:
    FrameBox(const QString& title, std::span<const forms::LineDef> lines, std::string_view name, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::span<const forms::LineDef> m_lines;
    std::string_view m_name;
};
