#pragma once

#include "platform/object.h"

// A colour as a style sheet writes it: 0xRRGGBB.
using LookColor = DWORD;

// What a look gives the application's own pop-up menus, dialogs and tooltips.
struct LookColors {
  LookColor menuBack;
  LookColor menuText;
  LookColor menuHighlight;
  LookColor menuHighlightText;
  LookColor menuBorder;
  LookColor dialogBack;
  LookColor dialogText;
  LookColor buttonFace;
  LookColor buttonText;
  LookColor toolTipBack;
  LookColor toolTipText;
};

// The framework's visual manager. One process-wide instance of the chosen class
// decides the look; each class fixes its colours when it is made. This plain one
// is the look every user sees; the named looks (platform/unreached/visual_managers.h)
// are chosen only by the look commands.
class CMFCVisualManager : public CObject {
  DECLARE_DYNCREATE(CMFCVisualManager)

 public:
  CMFCVisualManager();

  // Makes a new instance of pRTI the current manager. Null goes back to the plain
  // manager; a class that is not a visual manager changes nothing.
  static void SetDefaultManager(const CRuntimeClass* pRTI);
  // The current manager: the plain one until another is chosen.
  static CMFCVisualManager* GetInstance();
  // Drops the current manager; the next GetInstance makes the plain one again.
  static void DestroyInstance();

  const LookColors& GetLookColors() const { return m_colors; }

 protected:
  explicit CMFCVisualManager(const LookColors& colors);

 private:
  LookColors m_colors;
};
