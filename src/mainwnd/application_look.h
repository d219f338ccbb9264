#pragma once

// Where the main frame finds the current application look (a look command's id,
// 210 to 218, or whatever number the settings file held): the application object
// keeps it and implements this, so the frame needs nothing of the application
// above it.
class IApplicationLook {
 public:
  virtual ~IApplicationLook() = default;
  virtual int GetApplicationLook() const = 0;
  virtual void SetApplicationLook(int look) = 0;
};
