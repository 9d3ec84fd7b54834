#include "plugin/CallGuard.h"

#include "platform/win32/Module.h"

// The host may run with another activation context active; every entry point
// runs with the one made from the manifest the library carries (resource 2),
// so that what it loads on the host's thread is resolved as the plug-in asks.

namespace {

HMODULE g_module = nullptr;
HANDLE g_activationContext = INVALID_HANDLE_VALUE;

constexpr WORD kManifestResource = 2;

void MakeActivationContext()
{
    ACTCTXA context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.hModule = g_module;
    context.lpResourceName = MAKEINTRESOURCEA(kManifestResource);
    g_activationContext = CreateActCtxA(&context);
}

} // namespace

HMODULE PluginModule()
{
    return g_module;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
        MakeActivationContext();
    } else if (reason == DLL_PROCESS_DETACH && g_activationContext != INVALID_HANDLE_VALUE) {
        ReleaseActCtx(g_activationContext);
    }
    return TRUE;
}

CCallGuard::CCallGuard()
{
    ULONG_PTR cookie = 0;
    m_active = g_activationContext != INVALID_HANDLE_VALUE && ActivateActCtx(g_activationContext, &cookie);
    m_cookie = cookie;
}

CCallGuard::~CCallGuard()
{
    if (m_active)
        DeactivateActCtx(0, m_cookie);
}
