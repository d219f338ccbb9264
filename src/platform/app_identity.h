#pragma once

#include <string>

namespace platform {

// The manifest an app folder holds when the app names itself to the desktop.
constexpr char kAppManifestName[] = "vintrel-app.json";

// Who the shell is while it shows an app that names itself: the desktop entry it
// belongs to, and the app's icon, title and skin.
struct AppIdentity {
  std::string id;           // reverse domain name; the desktop entry's name without ".desktop"
  std::wstring title;       // the caption's title; empty keeps the shell's own
  std::string iconFile;     // absolute path of a PNG or SVG; empty keeps the shell's icon
  std::wstring skinFolder;  // absolute, ending in '/'; empty keeps the default skin
};

// What an app folder says about its identity: nothing (no manifest), an
// identity, or one line that names the field at fault and what is wrong.
struct AppManifest {
  bool present = false;
  AppIdentity identity;
  std::string error;
};

AppManifest ReadAppManifest(const std::string& appFolder);

// Makes the identity the process's before its first window: the window class
// and Wayland app id, the icon of every top-level window and the title.
void AdoptAppIdentity(const AppIdentity& identity);

}  // namespace platform
