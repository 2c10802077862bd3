#pragma once
// The help shown over the map on F1: every key and what the mouse does.
#include "ui/form.h"

void BuildEditorHelp(Form& form, Panel& panel);
