#pragma once

#include <string>

#include "platform/win_types.h"

// The framework's string: wide characters, compared code unit by code unit.
class CString {
 public:
  CString() = default;
  CString(LPCWSTR text) : m_str(text ? text : L"") {}
  CString(std::wstring text) : m_str(std::move(text)) {}

  operator LPCWSTR() const { return m_str.c_str(); }
  LPCWSTR GetString() const { return m_str.c_str(); }
  const std::wstring& str() const { return m_str; }
  int GetLength() const { return static_cast<int>(m_str.length()); }
  bool IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }

  // Loads the string resource nID; FALSE (and an empty string) if there is none.
  BOOL LoadString(UINT nID);

  CString& operator+=(const CString& other) {
    m_str += other.m_str;
    return *this;
  }
  friend CString operator+(const CString& a, const CString& b) {
    return CString(a.m_str + b.m_str);
  }
  friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
  friend bool operator!=(const CString& a, const CString& b) { return a.m_str != b.m_str; }
  friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

 private:
  std::wstring m_str;
};
