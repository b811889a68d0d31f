// Who runs the program and on which computer, as the system tells it.
#pragma once

#include <QString>

// The effective user's login name; empty when the system gives none.
QString SystemUserName();
// The host name; empty when the system gives none.
QString SystemComputerName();
