#pragma once
// The window's time-zone list; its texts are those of the shared list.

#include "app/positions/timezone_list.h"
