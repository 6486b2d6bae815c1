#include "ui/about_box.h"

#include "ui/main_window_texts.h"
#include "ui/resources.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace tarnwick::ui {
namespace {

constexpr int kPluginIconNumber = 1000;
constexpr int kDescriptionWidth = 300;

}  // namespace

void ShowAboutBox(wxWindow* parent, const std::string& productName, const std::string& versionText) {
  const wxString product = wxString::FromUTF8(productName);
  wxDialog box(parent, wxID_ANY, kAboutTitlePrefix + product);
  const int margin = box.FromDIP(12);

  auto* name = new wxStaticText(&box, wxID_ANY, wxString());
  name->SetLabelText(product);
  name->SetFont(name->GetFont().Bold().Scaled(1.4f));
  auto* version = new wxStaticText(&box, wxID_ANY, wxString());
  version->SetLabelText(wxString::FromUTF8(versionText));
  auto* description = new wxStaticText(&box, wxID_ANY, kAboutDescription);
  description->Wrap(box.FromDIP(kDescriptionWidth));

  auto* texts = new wxBoxSizer(wxVERTICAL);
  texts->Add(name, wxSizerFlags().Border(wxBOTTOM, box.FromDIP(2)));
  texts->Add(version, wxSizerFlags().Border(wxBOTTOM, margin));
  texts->Add(description);
  auto* body = new wxBoxSizer(wxHORIZONTAL);
  body->Add(new wxStaticBitmap(&box, wxID_ANY, ResourceBitmap(kPluginIconNumber)),
            wxSizerFlags().Top().Border(wxRIGHT, margin));
  body->Add(texts, wxSizerFlags(1));

  auto* ok = new wxButton(&box, wxID_OK, kAboutOkButtonText);
  ok->SetDefault();
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(body, wxSizerFlags(1).Expand().Border(wxALL, margin));
  top->Add(ok, wxSizerFlags().Right().Border(wxLEFT | wxRIGHT | wxBOTTOM, margin));
  box.SetSizerAndFit(top);
  box.CentreOnParent();
  box.ShowModal();
}

}  // namespace tarnwick::ui
