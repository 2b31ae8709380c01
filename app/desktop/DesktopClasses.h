// DesktopClasses.h — registers the desktop units' components (tray icon,
// hot-key manager, single-instance guard) for streaming, so a form
// description can name them. Call once at start-up, before the main form
// is created.
#pragma once

void RegisterDesktopClasses();
