// The widget kit in one include.
#pragma once

#include "common/dui/CCheckButton.h"
#include "common/dui/ControlFactory.h"
#include "common/dui/DuiTypes.h"
#include "common/dui/MButton.h"
#include "common/dui/MControl.h"
#include "common/dui/MPicture.h"
#include "common/dui/MTabCtrl.h"
#include "common/dui/MTabLayout.h"
#include "common/dui/MWindow.h"
#include "common/dui/Manager.h"
#include "common/dui/RenderToPng.h"
#include "common/dui/UiThread.h"
