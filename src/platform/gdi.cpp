#include "platform/gdi.h"

#include <QPainter>
#include <QTimer>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/qt/gdi_handles.h"
#include "platform/qt/icon.h"
#include "platform/qt/releasable_image.h"
#include "platform/qt/window_host.h"
#include "platform/wnd.h"

namespace {

constexpr QImage::Format kDefaultFormat = QImage::Format_ARGB32_Premultiplied;
constexpr QRgb kNewBitmapColor = 0xFF000000;  // what the window system hands out: black
constexpr int kDefaultIconSize = 32;

platform::WindowHost* HostOf(const QPointer<QWidget>& widget) {
  return static_cast<platform::WindowHost*>(widget.data());
}

int Complexity(const QRegion& region) {
  if (region.isEmpty()) return NULLREGION;
  return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// One recycled bitmap per window: a paint of the same size reuses the pixels
// instead of touching a whole new W x H allocation.
class CompatibleBitmapCache {
 public:
  static CompatibleBitmapCache& instance() {
    static CompatibleBitmapCache cache;
    return cache;
  }

  // An image of size device pixels at the given ratio.
  QImage take(QWidget* window, QSize size, QImage::Format format, qreal ratio) {
    auto found = m_images.find(window);
    if (found != m_images.end() && found->second.size() == size &&
        found->second.format() == format && found->second.devicePixelRatio() == ratio) {
      QImage image = std::move(found->second);
      m_images.erase(found);
      return image;
    }
    QImage image = platform::MakeReleasableImage(size, format);
    if (image.isNull()) return image;
    image.setDevicePixelRatio(ratio);
    image.fill(kNewBitmapColor);
    return image;
  }

  void giveBack(QWidget* window, QImage image) {
    m_releaseAll.start();
    if (m_watched.insert(window).second) {
      QObject::connect(window, &QObject::destroyed, [this, window] {
        m_images.erase(window);
        m_watched.erase(window);
      });
    }
    m_images[window] = std::move(image);
  }

 private:
  CompatibleBitmapCache() {
    m_releaseAll.setSingleShot(true);
    m_releaseAll.setInterval(platform::kIdleBufferReleaseMs);
    QObject::connect(&m_releaseAll, &QTimer::timeout, [this] { m_images.clear(); });
  }

  QTimer m_releaseAll;
  std::unordered_map<const QObject*, QImage> m_images;
  std::unordered_set<const QObject*> m_watched;
};

void DeselectBitmap(HDC__* dc) {
  if (!dc || !dc->bitmap) return;
  dc->bitmap->selectedInto = nullptr;
  dc->bitmap = nullptr;
  dc->selectedObject = nullptr;
}

void CopyRows(QImage& destination, const QImage& source, const QRect& destRect,
              QPoint sourceTopLeft) {
  // Row addresses from one base each: scanLine() checks for sharing on every call.
  uchar* to =
      destination.bits() + destRect.top() * destination.bytesPerLine() + destRect.left() * 4;
  const uchar* from =
      source.constBits() + sourceTopLeft.y() * source.bytesPerLine() + sourceTopLeft.x() * 4;
  const size_t bytes = size_t(destRect.width()) * 4;
  for (int row = 0; row < destRect.height(); ++row) {
    std::memcpy(to, from, bytes);
    to += destination.bytesPerLine();
    from += source.bytesPerLine();
  }
}

// Copies the logical region of source, moved by offset, onto destination. Images
// of one layout and ratio, with an offset of whole device pixels, copy row by row.
void CopyPixels(QImage& destination, const QImage& source, const QRegion& region, QPoint offset) {
  QPoint shift;
  if (platform::SameLayout(destination, source, offset, &shift)) {
    for (const QRect& rect : platform::SharedDeviceRegion(destination, source, region, shift))
      CopyRows(destination, source, rect, rect.topLeft() + shift);
    return;
  }
  QPainter painter(&destination);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (const QRect& rect : region)
    painter.drawImage(QRectF(rect), source,
                      platform::DeviceRect(rect.translated(offset), source.devicePixelRatio()));
}

// Rows of a round rectangle: each row keeps the pixels whose centres lie inside
// an ellipse through the corner pixels' centres.
QRegion RoundRectRegion(const QRect& rect, int ellipseWidth, int ellipseHeight) {
  if (rect.isEmpty()) return QRegion();
  const int ew = std::min(ellipseWidth, rect.width());
  const int eh = std::min(ellipseHeight, rect.height());
  if (ew < 2 || eh < 2) return QRegion(rect);
  const double rx = (ew - 1) / 2.0;
  const double ry = (eh - 1) / 2.0;
  auto insetOfRow = [&](int row) {
    const double dy = std::abs(row - ry) / ry;
    const double dx = rx * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    return static_cast<int>(std::ceil(rx - dx - 1e-9));
  };
  const int cornerRows = eh / 2;
  std::vector<QRect> rows;
  for (int row = 0; row < cornerRows; ++row) {
    const int inset = insetOfRow(row);
    rows.emplace_back(rect.left() + inset, rect.top() + row, rect.width() - 2 * inset, 1);
  }
  const int middleHeight = rect.height() - 2 * cornerRows;
  rows.emplace_back(rect.left(), rect.top() + cornerRows, rect.width(), middleHeight);
  for (int row = cornerRows - 1; row >= 0; --row) {
    const int inset = insetOfRow(row);
    rows.emplace_back(rect.left() + inset, rect.bottom() - row, rect.width() - 2 * inset, 1);
  }
  QRegion region;
  for (const QRect& row : rows) {
    if (!row.isEmpty()) region += row;
  }
  return region;
}

}  // namespace

QImage* HDC__::target() {
  if (isWindowContext) return window ? &HostOf(window)->surface().pixels() : nullptr;
  if (bitmap) return &bitmap->image;
  return &stockBitmap;
}

void HDC__::flush(const QRegion& changed) {
  if (isWindowContext && window && !changed.isEmpty()) HostOf(window)->surface().show(changed);
}

// --- CBitmap ---

CBitmap::~CBitmap() {
  if (m_hObject && m_hObject->selectedInto) DeselectBitmap(m_hObject->selectedInto);
  DeleteObject();
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  if (m_hObject || nWidth <= 0 || nHeight <= 0) return FALSE;
  QPointer<QWidget> window = pDC && pDC->m_hDC ? pDC->m_hDC->window : QPointer<QWidget>();
  const QImage* pattern = window ? &HostOf(window)->surface().pixels() : nullptr;
  const QImage::Format format =
      pattern && pattern->depth() == 32 ? pattern->format() : kDefaultFormat;
  // A window's bitmaps hold its device pixels, so that what is drawn there stays sharp.
  const qreal ratio = pattern ? pattern->devicePixelRatio() : 1;
  const QSize size = platform::DeviceSize(QSize(nWidth, nHeight), ratio);
  QImage image = window ? CompatibleBitmapCache::instance().take(window, size, format, ratio)
                        : QImage(size, format);
  if (image.isNull()) return FALSE;
  if (!window) image.fill(kNewBitmapColor);
  m_hObject = new HBITMAP__{std::move(image), window, nullptr, this};
  return TRUE;
}

BOOL CBitmap::DeleteObject() {
  if (!m_hObject || m_hObject->selectedInto) return FALSE;
  if (m_hObject->cacheOwner)
    CompatibleBitmapCache::instance().giveBack(m_hObject->cacheOwner, std::move(m_hObject->image));
  delete m_hObject;
  m_hObject = nullptr;
  return TRUE;
}

// --- CRgn ---

CRgn::~CRgn() { DeleteObject(); }

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int nWidth, int nHeight) {
  DeleteObject();
  const QRect rect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                   QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
  m_hObject = new HRGN__{RoundRectRegion(rect, nWidth, nHeight)};
  return TRUE;
}

BOOL CRgn::DeleteObject() {
  if (!m_hObject) return FALSE;
  delete m_hObject;
  m_hObject = nullptr;
  return TRUE;
}

BOOL CRgn::PtInRegion(int x, int y) const {
  return m_hObject && m_hObject->region.contains(QPoint(x, y));
}

int CRgn::GetRgnBox(LPRECT lpRect) const {
  if (!m_hObject || !lpRect) return RGN_ERROR;
  const QRect box = m_hObject->region.boundingRect();
  *lpRect = CRect(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
  return Complexity(m_hObject->region);
}

// --- CDC ---

CDC::~CDC() { DeleteDC(); }

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
  if (m_hDC) return FALSE;
  m_hDC = new HDC__;
  m_hDC->stockBitmap = QImage(1, 1, kDefaultFormat);
  m_hDC->stockBitmap.fill(kNewBitmapColor);
  if (pDC && pDC->m_hDC) m_hDC->window = pDC->m_hDC->window;
  return TRUE;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  DeselectBitmap(m_hDC);
  delete m_hDC;
  m_hDC = nullptr;
  return TRUE;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  if (!m_hDC || m_hDC->isWindowContext) return nullptr;
  HBITMAP__* handle = pBitmap ? pBitmap->GetSafeHandle() : nullptr;
  if (pBitmap && (!handle || (handle->selectedInto && handle->selectedInto != m_hDC)))
    return nullptr;
  CBitmap* previous = m_hDC->selectedObject;
  DeselectBitmap(m_hDC);
  if (handle) {
    handle->selectedInto = m_hDC;
    m_hDC->bitmap = handle;
    m_hDC->selectedObject = pBitmap;
  }
  return previous;
}

int CDC::SetBkMode(int nBkMode) {
  if (!m_hDC || (nBkMode != TRANSPARENT && nBkMode != OPAQUE)) return 0;
  const int previous = m_hDC->bkMode;
  m_hDC->bkMode = nBkMode;
  return previous;
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) {
  if (!m_hDC) return RGN_ERROR;
  const QRegion excluded(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
  m_hDC->clip = m_hDC->clipRegion().subtracted(excluded);
  return Complexity(*m_hDC->clip);
}

int CDC::ExcludeClipRect(LPCRECT lpRect) {
  return lpRect ? ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom)
                : RGN_ERROR;
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
  if (!m_hDC) return RGN_ERROR;
  m_hDC->clip = m_hDC->clipRegion().intersected(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
  return Complexity(*m_hDC->clip);
}

int CDC::IntersectClipRect(LPCRECT lpRect) {
  return lpRect ? IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom)
                : RGN_ERROR;
}

int CDC::SelectClipRgn(CRgn* pRgn) {
  if (!m_hDC) return RGN_ERROR;
  if (!pRgn || !pRgn->GetSafeHandle()) {
    m_hDC->clip.reset();
    return SIMPLEREGION;
  }
  m_hDC->clip = pRgn->GetSafeHandle()->region;
  return Complexity(*m_hDC->clip);
}

int CDC::GetClipBox(LPRECT lpRect) const {
  if (!m_hDC || !lpRect) return RGN_ERROR;
  const QRegion clip = m_hDC->clipRegion();
  const QRect box = clip.boundingRect();
  *lpRect = clip.isEmpty()
                ? CRect()
                : CRect(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
  return Complexity(clip);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
  if (!m_hDC || !pSrcDC || !pSrcDC->m_hDC || dwRop != SRCCOPY) return FALSE;
  QImage* destination = m_hDC->target();
  const QImage* source = pSrcDC->m_hDC->target();
  if (!destination || !source || destination == source) return FALSE;
  const QPoint offset(xSrc - x, ySrc - y);
  const QRect sourceInDestination = platform::LogicalRect(*source).translated(-offset);
  QRegion changed = m_hDC->clipRegion().intersected(
      QRect(x, y, nWidth, nHeight) & platform::LogicalRect(*destination) & sourceInDestination);
  if (m_hDC->isWindowContext)
    changed = HostOf(m_hDC->window)->surface().whatChanges(*source, changed, offset);
  CopyPixels(*destination, *source, changed, offset);
  m_hDC->flush(changed);
  return TRUE;
}

// --- icons ---

BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth,
                UINT /*istepIfAniCur*/, HBRUSH /*hbrFlickerFreeDraw*/, UINT diFlags) {
  const QIcon icon = platform::IconFromHandle(hIcon);
  if (!hdc || icon.isNull() || (diFlags & DI_NORMAL) == 0) return FALSE;
  QImage* target = hdc->target();
  if (!target || target->isNull()) return FALSE;
  const QList<QSize> sizes = icon.availableSizes();
  const QSize natural = sizes.isEmpty() ? QSize(kDefaultIconSize, kDefaultIconSize) : sizes.first();
  const QSize size(cxWidth > 0 ? cxWidth : natural.width(),
                   cyWidth > 0 ? cyWidth : natural.height());
  const QRect placed(QPoint(xLeft, yTop), size);
  QPainter painter(target);
  if (hdc->clip) painter.setClipRegion(*hdc->clip);
  icon.paint(&painter, placed);
  painter.end();
  hdc->flush(hdc->clipRegion().intersected(placed));
  return TRUE;
}

// --- the window's drawing surface and shape ---

CDC* CWnd::GetWindowDC() {
  platform::WindowHost* window = host();
  if (!window) return nullptr;
  // Nothing a hidden window draws is seen: its frame is drawn when it is first painted.
  if (!window->isVisible()) {
    window->surface().markStale();
    return nullptr;
  }
  CDC* dc = new CDC;
  dc->m_hDC = new HDC__;
  dc->m_hDC->window = window;
  dc->m_hDC->isWindowContext = true;
  return dc;
}

int CWnd::ReleaseDC(CDC* pDC) {
  if (!pDC || !pDC->m_hDC || !pDC->m_hDC->isWindowContext) return 0;
  delete pDC;
  return 1;
}

int CWnd::SetWindowRgn(HRGN hRgn, BOOL /*bRedraw*/) {
  platform::WindowHost* window = host();
  if (!window) return 0;
  // The window keeps its own copy of the shape; the handle stays the caller's.
  window->setShape(hRgn ? hRgn->region : QRegion());
  return 1;
}
