#include "gui_support/gui_test_support.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

using namespace tarnwick;

TEST(Harness, ClickReachesAModalDialog) {
  wxDialog dialog(nullptr, wxID_ANY, "Smoke", wxPoint(100, 100), wxSize(300, 200));
  auto* button = new wxButton(&dialog, wxID_OK, "OK", wxPoint(20, 20));
  bool clicked = false;
  button->Bind(wxEVT_BUTTON, [&](wxCommandEvent& event) {
    clicked = true;
    event.Skip();
  });
  test::WhenModal([&] {
    test::SaveScreenshot(&dialog, "smoke");
    wxUIActionSimulator sim;
    sim.MouseMove(button->GetScreenRect().GetPosition() + wxPoint(5, 5));
    test::RunEventsFor(std::chrono::milliseconds(100));
    sim.MouseClick();
  });
  EXPECT_EQ(dialog.ShowModal(), wxID_OK);
  EXPECT_TRUE(clicked);
}
