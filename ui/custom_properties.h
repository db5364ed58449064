// The Custom Properties dialog (template 101), in which the user edits the driver's own settings:
// colour substitution, ink set, paper type, colour mode, gamma and bidirectional printing, and
// through Paper Config the other per-paper values; Import and Export move the advanced
// definitions file between machines.
//
// Opening reads the advanced definitions file beside the driver (writing the defaults when it is
// missing or incorrect) into the per-paper store, then the custom items. OK writes the items of
// both resolutions for the selected paper and rewrites the definitions file; Cancel writes
// nothing.
#pragma once

#include "color_combo.h"
#include "definitions/definitions.h"
#include "host/vx_plotter.h"
#include "platform/dialogs/dialog.h"

#include <array>

class CDlgCustomSettings : public CDialog {
public:
    CDlgCustomSettings(VX_Smart_Pointer<VX_Plotter_Definition> definition,
                       vxp::Window_Handle parent);
    ~CDlgCustomSettings() override;

    /// The six colour slots, in the order of their lists 1004, 1006, 1007 (screen colours of
    /// pairs 1 to 3) and 1008, 1009, 1010 (printed colours).
    struct Colour_Slot {
        CColorComboBox combo;
        std::wstring text;
        std::int32_t colour = 0;
        int other_position = 0; ///< of "Other Colors": 8 when the slot's item exists
        std::int32_t last_picked = -1;
        VX_Smart_Pointer<VX_Custom_Config_Item> item;
    };

protected:
    const Message_Map& GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnHelp();
    void OnHelpKey() {}
    void OnChangeColor();
    void OnDrawToBlack();
    void OnApply1() { toggle_apply(0); }
    void OnApply2() { toggle_apply(1); }
    void OnApply3() { toggle_apply(2); }
    template <int Slot>
    void OnColorComboCloseUp() {
        colour_closed(Slot);
    }
    void OnModeEdited();
    void OnModeChanged();
    void OnGammaEdited();
    void OnGammaChanged();
    void OnMediaEdited();
    void OnMediaChanged();
    void OnPaperConfig();
    void ExportDefinitions();
    void ImportDefinitions();
    void OnBothway();
    void OnHighSpeed() { switch_ink_set(0); }
    void OnPhotoQuality() { switch_ink_set(1); }

    void toggle_apply(int pair);
    void apply_enable_rules();
    void colour_closed(int slot);
    void switch_ink_set(int target);
    void fill_media_list();
    void show_gamma_and_bothway();
    void refresh_paper_values(const PaperSettings& values);
    PaperSettings current_values() const;
    int& stored_media_position();
    int reset_slot();
    float other_resolution() const;
    void show_error(const wchar_t* text);
    CComboBox& list(int id) const;

    int m_change_color = 0, m_draw_to_black = 0;
    std::array<int, 3> m_apply{};
    std::array<Colour_Slot, 6> m_slots;
    std::int32_t m_scratch_colour = -1;
    bool m_colour_output = true;
    std::wstring m_mode_text, m_gamma_text, m_media_text;
    std::int32_t m_color_mode = 0, m_gamma = 0, m_media_4c = 0, m_media_7c = 0, m_bothway = 0;
    std::int32_t m_ink_set = 0, m_device_id = 0;
    float m_x_dpi = 0, m_y_dpi = 0;
    vxp::Module_Handle m_color_dll = nullptr;
    VX_Smart_Pointer<VX_Plotter_Definition> m_definition;
    vxp::Window_Handle m_parent_window;

    VX_Smart_Pointer<VX_Custom_Config_Item> m_change_color_item, m_draw_to_black_item;
    std::array<VX_Smart_Pointer<VX_Custom_Config_Item>, 3> m_apply_items;
    VX_Smart_Pointer<VX_Custom_Config_Item> m_device_id_item, m_color_mode_item, m_cartridge_item;
    VX_Smart_Pointer<VX_Custom_Config_Item> m_paper_4c_item, m_paper_7c_item;
    /// The ten per-resolution items of the current resolution (then, on OK, of the other).
    std::array<VX_Smart_Pointer<VX_Custom_Config_Item>, 10> m_paper_items;
};
