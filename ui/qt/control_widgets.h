// The Qt widget each kind of control definition makes.
#pragma once

#include "ui/forms/form_definition.h"

#include <QWidget>

// The control's widget in its design-time state, placed in `parent` (its frame, or the client
// area). Buttons are returned unconnected; the missing-picture error for a picture not embedded.
QWidget* makeControlWidget(const forms::FormDef& form, const forms::ControlDef& control, QWidget* parent);
