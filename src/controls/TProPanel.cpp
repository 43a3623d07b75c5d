#include "controls/TProPanel.h"
