#include "app/KeyIndicators.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#ifdef TAVRO_HAVE_X11
#include <X11/XKBlib.h>
#endif

std::optional<CLockKeys> ReadLockKeys()
{
#ifdef TAVRO_HAVE_X11
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    // Indicators by name: their bit positions differ between keymaps.
    const auto isOn = [display](const char* name) {
        Bool bOn = False;
        const Atom atom = XInternAtom(display, name, True);
        return atom != None && XkbGetNamedIndicator(display, atom, nullptr, &bOn, nullptr, nullptr) && bOn;
    };
    CLockKeys keys;
    keys.m_bCapsLock = isOn("Caps Lock");
    keys.m_bNumLock = isOn("Num Lock");
    keys.m_bScrollLock = isOn("Scroll Lock");
    return keys;
#else
    return std::nullopt;
#endif
}
