#pragma once
// Every control model at once, for code that declares or drives whole forms.
#include "platform/controls/buttons.h"
#include "platform/controls/date_field.h"
#include "platform/controls/decor.h"
#include "platform/controls/desktop.h"
#include "platform/controls/form.h"
#include "platform/controls/grid.h"
#include "platform/controls/keys.h"
#include "platform/controls/number_format.h"
#include "platform/controls/tab_control.h"
#include "platform/controls/text_field.h"
#include "platform/controls/toolbar.h"
