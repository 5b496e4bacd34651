// A definition's controls and timers by name.
#include "ui/forms/form_definition.h"

namespace forms {

const ControlDef* findControl(const FormDef& form, std::string_view name)
{
    for (const ControlDef& control : form.controls)
        if (control.name == name)
            return &control;
    return nullptr;
}

const TimerDef* findTimer(const FormDef& form, std::string_view name)
{
    for (const TimerDef& timer : form.timers)
        if (timer.name == name)
            return &timer;
    return nullptr;
}

} // namespace forms
