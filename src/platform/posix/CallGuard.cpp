#include "plugin/CallGuard.h"

// A host on this platform needs no activation context.
CCallGuard::CCallGuard() = default;
CCallGuard::~CCallGuard() = default;
