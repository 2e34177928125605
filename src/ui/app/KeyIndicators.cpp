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
    // Indicators by name: their bit positions differ between keymaps. The
    // names' atoms are looked up once; the program has one display.
    static const Atom s_atoms[] = {XInternAtom(display, "Caps Lock", True),
                                   XInternAtom(display, "Num Lock", True),
                                   XInternAtom(display, "Scroll Lock", True)};
    const auto isOn = [display](Atom atom) {
        Bool bOn = False;
        return atom != None && XkbGetNamedIndicator(display, atom, nullptr, &bOn, nullptr, nullptr) && bOn;
    };
    CLockKeys keys;
    keys.m_bCapsLock = isOn(s_atoms[0]);
    keys.m_bNumLock = isOn(s_atoms[1]);
    keys.m_bScrollLock = isOn(s_atoms[2]);
    return keys;
#else
    return std::nullopt;
#endif
}
