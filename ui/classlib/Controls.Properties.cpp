#include "ui/classlib/Controls.h"
#include "ui/classlib/Menus.h"
#include "ui/classlib/Properties.h"

namespace ui {

namespace {

bool ColorIdent(TColor color, std::string& name) { return ColorToIdent(color, name); }
bool IdentColor(std::string_view name, TColor& color) { return IdentToColor(name, color); }
bool CursorIdent(TCursor cursor, std::string& name) { return CursorToIdent(cursor, name); }
bool IdentCursor(std::string_view name, TCursor& cursor) { return IdentToCursor(name, cursor); }

}  // namespace

void TControl::DefineProperties(TPropertyList<TControl>& list) {
  list.Property("Left", &TControl::Left, &TControl::SetLeft);
  list.Property("Top", &TControl::Top, &TControl::SetTop);
  list.Property("Width", &TControl::Width, &TControl::SetWidth);
  list.Property("Height", &TControl::Height, &TControl::SetHeight);
  list.Enum("Align", &TControl::Align, &TControl::SetAlign, alNone,
            {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"});
  list.Set("Anchors", &TControl::Anchors, &TControl::SetAnchors, TAnchors{akLeft, akTop},
           {"akLeft", "akTop", "akRight", "akBottom"});
  TPropertyInfo& color = list.IdentInteger("Color", &TControl::Color, &TControl::SetColor, std::optional<TColor>{},
                                           &ColorIdent, &IdentColor);
  list.StoredIf(color, [](TControl& c) { return !c.ParentColor(); });
  list.IdentInteger("Cursor", &TControl::Cursor, &TControl::SetCursor, std::optional<TCursor>(crDefault), &CursorIdent,
                    &IdentCursor);
  list.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
  TPropertyInfo& font = list.Object("Font", [](TControl& c) { return c.Font(); });
  list.StoredIf(font, [](TControl& c) { return !c.ParentFont(); });
  list.Property("Hint", &TControl::Hint, &TControl::SetHint, std::string());
  list.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true);
  list.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
  list.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true);
  list.Component("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
  TPropertyInfo& showHint = list.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false);
  list.StoredIf(showHint, [](TControl& c) { return !c.ParentShowHint(); });
  list.Property("Visible", &TControl::Visible, &TControl::SetVisible, true);
  list.Event("OnClick", &TControl::OnClick);
  list.Event("OnDblClick", &TControl::OnDblClick);
  list.Event("OnMouseDown", &TControl::OnMouseDown);
  list.Event("OnMouseEnter", &TControl::OnMouseEnter);
  list.Event("OnMouseLeave", &TControl::OnMouseLeave);
  list.Event("OnMouseMove", &TControl::OnMouseMove);
  list.Event("OnMouseUp", &TControl::OnMouseUp);
  list.Event("OnResize", &TControl::OnResize);
  list.ParentComponent([](TControl& c) -> core::TComponent* { return c.Parent(); });
  list.SetParentComponent([](TControl& c, core::TComponent* parent) {
    auto* winControl = dynamic_cast<TWinControl*>(parent);
    if (!winControl) return false;
    c.SetParent(winControl);
    return true;
  });
}

void TWinControl::DefineProperties(TPropertyList<TWinControl>& list) {
  list.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1);
  list.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false);
  list.Event("OnEnter", &TWinControl::OnEnter);
  list.Event("OnExit", &TWinControl::OnExit);
  list.Event("OnKeyDown", &TWinControl::OnKeyDown);
  list.Event("OnKeyPress", &TWinControl::OnKeyPress);
  list.Event("OnKeyUp", &TWinControl::OnKeyUp);
  // The controls the root owns, windowless ones first, each inside its
  // parent.
  list.Children([](TWinControl& c, core::TComponent* root) {
    std::vector<core::TComponent*> children;
    for (int i = 0; i < c.ControlCount(); ++i) {
      if (c.Controls(i)->Owner() == root) children.push_back(c.Controls(i));
    }
    return children;
  });
}

}  // namespace ui
