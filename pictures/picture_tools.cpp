// "copy picture" and the "pend exp" timer.

#include "app/main_window.h"
