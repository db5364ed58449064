// The Paper Config dialog (template 133): eight of the per-paper values of the paper selected in
// the Custom Properties dialog, edited on sliders, edit boxes corrected in place as the user
// types, and lists; "Reset To Defaults" shows the built-in defaults of the paper. OK writes the
// values into the current values (Custom_Properties_State); nothing else is touched.
#pragma once

#include "definitions/definitions.h"
#include "platform/dialogs/dialog.h"

#include <string>

class CDlgDetailSetting : public CDialog {
public:
    explicit CDlgDetailSetting(CDialog* parent = nullptr);

protected:
    const Message_Map& GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void OnResetToDefaults();
    void OnCutChanged();
    void OnGapChanged();
    void OnRollerChanged();
    void OnListEdited();
    void OnDensityUpdate();
    void OnDryingUpdate();
    void OnFeedUpdate();
    void OnThicknessUpdate();
    void OnDensitySlider(Notify_Info& info);
    void OnDryingSlider(Notify_Info& info);
    void OnFeedSlider(Notify_Info& info);
    void OnSuctionReleased();

    struct Edit_Rule;
    void validate(const Edit_Rule& rule);
    void take_slider(CSliderCtrl& slider, int edit, std::wstring& text, int& value);
    void show(int edit, int value);
    void show_values(const PaperSettings& values);
    void set_up_sliders();
    void fill_lists();

    std::wstring m_feed_text;
    int m_feed = 0;
    std::wstring m_drying_text;
    int m_drying = 0;
    std::wstring m_thickness_text;
    int m_thickness = 0;
    std::wstring m_cut_text;
    int m_cut = 0;
    std::wstring m_gap_text;
    int m_gap = 0;
    std::wstring m_roller_text;
    int m_roller = 0;
    int m_suction = 0;
    CSliderCtrl m_density_slider, m_drying_slider, m_feed_slider, m_suction_slider;
    std::wstring m_density_text;
    int m_density = 0;
};
