// Win.h — the window system's Win32-level API in one include.
#pragma once
#include "platform/win/Cursors.h"
#include "platform/win/Display.h"
#include "platform/win/Hooks.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WinTypes.h"
