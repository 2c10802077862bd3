#include "screens/help.h"

THelpForm::THelpForm(App& application) : ScreenForm(application, "HelpForm", 805, 573) {}
