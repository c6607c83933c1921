// The seventeen system cursor roles: menu caption, the value that holds the
// role's file in the per-user scheme, and the system cursor it replaces.
#pragma once
#include "res/texts.h"

#include <array>
#include <cstddef>

namespace scheme {

struct TrecMouseRegistry {
    const wchar_t* Caption;
    const wchar_t* ValueName;
    int CursorId;
};

inline constexpr std::size_t kMouseRoleCount = 17;

// Indexed by role; the role menu lists the rows in this order and tags each
// item with its row index, and a named scheme's text holds the roles in this
// order. The ids are the system's OCR_* values.
inline constexpr std::array<TrecMouseRegistry, kMouseRoleCount> MouseRegistry{{
    {texts::RoleArrow, L"Arrow", 32512},             // OCR_NORMAL
    {texts::RoleHelp, L"Help", 32651},               // OCR_HELP
    {texts::RoleAppStarting, L"AppStarting", 32650}, // OCR_APPSTARTING
    {texts::RoleWait, L"Wait", 32514},               // OCR_WAIT
    {texts::RoleCrosshair, L"Crosshair", 32515},     // OCR_CROSS
    {texts::RoleIBeam, L"IBeam", 32513},             // OCR_IBEAM
    {texts::RoleNWPen, L"NWPen", 32631},             // OCR_NWPEN
    {texts::RoleNo, L"No", 32648},                   // OCR_NO
    {texts::RoleSizeNS, L"SizeNS", 32645},           // OCR_SIZENS
    {texts::RoleSizeWE, L"SizeWE", 32644},           // OCR_SIZEWE
    {texts::RoleSizeNWSE, L"SizeNWSE", 32642},       // OCR_SIZENWSE
    {texts::RoleSizeNESW, L"SizeNESW", 32643},       // OCR_SIZENESW
    {texts::RoleSizeAll, L"SizeAll", 32646},         // OCR_SIZEALL
    {texts::RoleUpArrow, L"UpArrow", 32516},         // OCR_UP
    // Roles of later systems: one that does not know a role's id still
    // keeps its value and reads it at the next reload.
    {texts::kRoleHand, L"Hand", 32649},     // OCR_HAND
    {texts::kRolePin, L"Pin", 32671},       // OCR_PIN (Windows 10)
    {texts::kRolePerson, L"Person", 32672}, // OCR_PERSON (Windows 10)
}};

// The per-user scheme's key below HKEY_CURRENT_USER.
inline constexpr wchar_t kCursorSchemeKey[] = L"Control Panel\\Cursors\\";

} // namespace scheme
