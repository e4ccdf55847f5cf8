// About and help: the about window and the help command of the main window's menu "Помощь".
#pragma once

#include "about/form_about.h"
#include "about/help_viewer.h"
