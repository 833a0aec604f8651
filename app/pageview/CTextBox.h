#pragma once

#include <string>

#include "app/pageview/CShape.h"
#include "app/pageview/TextBoxGeometry.h"

// The window side of a text box (an edit control on the page view). The model tells it to
// show, hide or go away; it keeps the model's text and rectangle up to date as the user types
// and moves it.
class ITextBoxWindow {
 public:
  virtual ~ITextBoxWindow() = default;
  virtual void ShowEditor(bool show) = 0;
  virtual void DestroyEditor() = 0;
};

// Free text in a fixed rectangle; word-wrapped, black, in the program's text font.
class CTextBox : public CShape {
 public:
  explicit CTextBox(int windowId) : m_windowId(windowId) {}

  ShapeType Type() const override { return kShapeTextBox; }
  CRect TrackerRect() const override { return m_rect.Inflated(textbox::kTrackerMargin); }
  void MoveBy(int dx, int dy) override { m_rect = m_rect.Offset(dx, dy); }
  bool HasResizeHandles() const override { return true; }
  // The frame sits outside the window; the window keeps at least one pixel each way.
  void ResizeTracker(const CRect& trackerRect) override {
    CRect r = trackerRect.Normalized().Inflated(-textbox::kTrackerMargin);
    if (r.right <= r.left) r.right = r.left + 1;
    if (r.bottom <= r.top) r.bottom = r.top + 1;
    m_rect = r;
  }

  int WindowId() const { return m_windowId; }
  // The edit window's rectangle, view units.
  const CRect& Rect() const { return m_rect; }
  void SetRect(const CRect& rect) { m_rect = rect.Normalized(); }
  const std::string& Text() const { return m_text; }
  void SetText(std::string text) { m_text = std::move(text); }
  bool IsMoveMode() const { return m_moveMode; }
  void SetMoveMode(bool on) { m_moveMode = on; }

  ITextBoxWindow* Window() const { return m_window; }
  void SetWindow(ITextBoxWindow* window) { m_window = window; }

 private:
  int m_windowId;
  CRect m_rect;
  std::string m_text;
  bool m_moveMode = false;
  ITextBoxWindow* m_window = nullptr;
};
