// paint_copier: the copier screen. Arrows, buttons and menu titles are
// placed from the program's own hit-test table; fields, rulers, bays and
// lamps from the positions the interface draws at.
#include "tools/assetgen/paint_copier.h"

#include "app/copier/copier_hittest.h"
#include "tools/assetgen/recipe.h"

namespace {

struct Palette {
    uint32_t panel, panel_light, panel_dark, panel_shadow, label, label_hi;
    uint32_t title_top, title_bottom, title_text, title_shadow, title_sub, copper_a, copper_b;
    uint32_t field, field_rim, arrow, arrow_rim, button, button_text;
    uint32_t map_well, map_rim, map_slot, drive_panel, lamp_socket, status;
};

bool ReadPalette(const Settings &s, Palette *p)
{
    struct Entry { const char *key; uint32_t *dst; } entries[] = {
        {"panel", &p->panel}, {"panel_light", &p->panel_light}, {"panel_dark", &p->panel_dark},
        {"panel_shadow", &p->panel_shadow}, {"label", &p->label}, {"label_hi", &p->label_hi},
        {"title_top", &p->title_top}, {"title_bottom", &p->title_bottom}, {"title_text", &p->title_text},
        {"title_shadow", &p->title_shadow}, {"title_sub", &p->title_sub}, {"copper_a", &p->copper_a},
        {"copper_b", &p->copper_b}, {"field", &p->field}, {"field_rim", &p->field_rim},
        {"arrow", &p->arrow}, {"arrow_rim", &p->arrow_rim}, {"button", &p->button},
        {"button_text", &p->button_text}, {"map_well", &p->map_well}, {"map_rim", &p->map_rim},
        {"map_slot", &p->map_slot}, {"drive_panel", &p->drive_panel}, {"lamp_socket", &p->lamp_socket},
        {"status", &p->status},
    };
    for (const Entry &e : entries)
        if (!SettingColour(s, e.key, e.dst))
            return false;
    return true;
}

// Text fields the program prints into at y 62 (8x8 glyphs): x and width.
const int kFieldY = 62;
const struct { int x, w; } kFields[] = {
    {9, 88}, {99, 16}, {123, 8}, {142, 16}, {166, 8}, {181, 40}, {228, 32}, {271, 40},
};
const int kToggleX[] = {11, 48, 182, 228, 272};
const int kToggleY = 46;
const int kBayX = 8, kBayPitch = 31, kBayY = 126, kBayW = 28, kBayH = 26;
const int kLampX = 16, kLampTopY = 106, kLampBottomY = 155;
const int kMapX[] = {139, 233};
const int kMapY = 109;
const int kRulerY = 101;

void Raised(Image &img, const Palette &p, int x, int y, int w, int h, uint32_t fill)
{
    FillRect(img, x, y, w, h, fill);
    Bevel(img, x, y, w, h, p.panel_light, p.panel_dark);
}

void Sunken(Image &img, const Palette &p, int x, int y, int w, int h, uint32_t fill)
{
    FillRect(img, x, y, w, h, fill);
    Bevel(img, x, y, w, h, p.panel_dark, p.panel_light);
}

void Centred(Image &img, const PixFont &f, int x0, int x1, int y, const std::string &t, uint32_t c)
{
    DrawPixText(img, f, x0 + (x1 - x0 + 1 - TextWidth(f, t)) / 2, y, t, c);
}

void PaintTitle(Image &img, const Palette &p, const PixFont &f, const Settings &s)
{
    // Eleven flat bands, darkest on top: a copper gradient without blending.
    for (int y = 0; y < 44; y++)
        FillRect(img, 0, y, 320, 1, Mix(p.title_top, p.title_bottom, (y / 4) / 10.0));
    // A sparse, fixed star field.
    uint32_t h = 0x9E3779B9u;
    for (int i = 0; i < 40; i++) {
        h ^= h << 13, h ^= h >> 17, h ^= h << 5;
        int x = (int)(h % 320), y = 3 + (int)((h >> 12) % 34);
        PutPx(img, x, y, (h >> 24) & 1 ? p.title_sub : Shade(p.title_sub, 0.55));
    }
    for (int x = 0; x < 320; x++) {
        double t = (x < 160 ? x : 319 - x) / 159.0;
        uint32_t c = Mix(p.copper_a, p.copper_b, (int)(t * 8) / 8.0);
        PutPx(img, x, 1, c);
        PutPx(img, x, 40, c);
        PutPx(img, x, 41, Shade(c, 0.6));
    }
    const std::string title = SettingText(s, "title");
    const int scale = 4, tw = TextWidth(f, title, scale), tx = (320 - tw) / 2;
    DrawPixText(img, f, tx + 2, 7, title, p.title_shadow, scale);
    DrawPixText(img, f, tx, 5, title, p.title_text, scale);
    // A lighter top row on each letter gives the logo some body.
    for (int x = tx; x < tx + tw; x++)
        for (int y = 5; y < 9; y++)
            if (GetPx(img, x, y) == p.title_text)
                PutPx(img, x, y, Mix(p.title_text, p.label_hi, 0.5));
    Centred(img, f, 0, 319, 31, SettingText(s, "subtitle"), p.title_sub);
    FillRect(img, 0, 43, 320, 1, p.panel_shadow);
}

void PaintArrow(Image &img, const Palette &p, int x, int y, bool up)
{
    static const char *rows[3] = {"..XX..", ".XXXX.", "XXXXXX"};
    for (int j = 0; j < 3; j++)
        for (int i = 0; i < 6; i++)
            if (rows[up ? j : 2 - j][i] == 'X')
                PutPx(img, x + i, y + j, p.arrow_rim);
}

void PaintControls(Image &img, const Palette &p, const PixFont &f, const Settings &s)
{
    for (int i = 0; i < uiHotspotCount; i++) {
        const s_uihotspot &h = uiHotspots[i];
        const int w = h.x1 - h.x0 + 1, ht = h.y1 - h.y0 + 1;
        if (h.code >= 1 && h.code <= 7) {
            FillRect(img, h.x0 + 1, h.y1 + 1, w, 1, p.panel_shadow);
            FillRect(img, h.x1 + 1, h.y0 + 1, 1, ht, p.panel_shadow);
            Raised(img, p, h.x0, h.y0, w, ht, p.button);
            Centred(img, f, h.x0, h.x1, h.y0 + 2, SettingText(s, "caption" + std::to_string(h.code)), p.button_text);
        } else if (h.code == 29 || h.code == 30) {
            Raised(img, p, h.x0, h.y0, w, ht, p.button);
            // The caption sits right of the toggle lamp the program draws.
            const int toggle_end = kToggleX[h.code - 29] + 6;
            const int left = toggle_end > h.x0 ? toggle_end + 1 : h.x0;
            Centred(img, f, left, h.x1 - 1, h.y0 + 2, SettingText(s, h.code == 29 ? "menu1" : "menu2"), p.button_text);
        } else if (h.y1 - h.y0 == 2) {
            PaintArrow(img, p, h.x0, h.y0, h.y0 < kFieldY);
        }
    }
}

void PaintFields(Image &img, const Palette &p, const PixFont &f, const Settings &s)
{
    for (const auto &fd : kFields) {
        // Sunken wells; neighbouring fields may touch, the bevel keeps them apart.
        Sunken(img, p, fd.x - 1, kFieldY - 2, fd.w + 2, 12, p.field);
        FillRect(img, fd.x, kFieldY - 1, fd.w, 1, p.field_rim);
    }
    Centred(img, f, 99, 130, 47, SettingText(s, "label_start"), p.label);
    Centred(img, f, 142, 173, 47, SettingText(s, "label_end"), p.label);
    DrawPixText(img, f, kToggleX[2] + 8, 47, SettingText(s, "label_side"), p.label);
    DrawPixText(img, f, kToggleX[3] + 8, 47, SettingText(s, "label_speed"), p.label);
    DrawPixText(img, f, kToggleX[4] + 8, 47, SettingText(s, "label_blend"), p.label);
}

void PaintDrives(Image &img, const Palette &p, const PixFont &f, const Settings &s)
{
    Sunken(img, p, 3, 97, 130, 88, p.drive_panel);
    DrawPixText(img, f, 7, 99, SettingText(s, "drives"), p.label);
    for (int j = 0; j < 4; j++) {
        const int bx = kBayX + kBayPitch * j;
        FillRect(img, bx - 1, kBayY - 1, kBayW + 2, kBayH + 2, p.panel_shadow);
        Bevel(img, bx - 2, kBayY - 2, kBayW + 4, kBayH + 4, p.panel_dark, p.panel_light);
        const int lx = kLampX + kBayPitch * j;
        for (int y : {kLampTopY, kLampBottomY}) {
            Bevel(img, lx - 1, y - 1, 8, 6, p.panel_dark, p.panel_light);
            FillRect(img, lx, y, 6, 4, p.lamp_socket);
        }
        Centred(img, f, bx, bx + kBayW - 1, 164, "DF" + std::to_string(j), p.label);
    }
}

void PaintMaps(Image &img, const Palette &p, const PixFont &f, const Settings &s)
{
    for (int side = 0; side < 2; side++) {
        const int mx = kMapX[side];
        Raised(img, p, mx - 4, kRulerY - 4, 88, 88, p.panel);
        FillRect(img, mx - 2, kRulerY - 2, 84, 84, p.map_rim);
        FillRect(img, mx - 1, kRulerY - 1, 82, 82, p.map_well);
        // Dim sector slots show where blocks outside the copy range would be.
        for (int sector = 0; sector < 82; sector++)
            FillRect(img, mx + 8 * (sector % 10), kMapY + 8 * (sector / 10), 7, 7, p.map_slot);
        DrawPixText(img, f, mx - 3, 91, SettingText(s, side ? "map_right" : "map_left"), p.label);
    }
    // Rows 16-17 beyond sector 81: a mark on the left, the clock on the right.
    DrawPixText(img, f, kMapX[0] + 60 - TextWidth(f, SettingText(s, "corner")), 175, SettingText(s, "corner"), p.map_rim);
    DrawPixText(img, f, kMapX[1] + 19, 175, SettingText(s, "time"), p.arrow);
    PutPx(img, 290, 175, p.arrow);
    PutPx(img, 290, 178, p.arrow);
}

} // namespace

bool PaintCopier(const std::string &recipe, const PixFont &font, Image *out)
{
    Settings s;
    Palette p;
    if (!ReadSettings(recipe, &s) || !ReadPalette(s, &p))
        return false;
    Image img = MakeImage(320, 200, p.panel);
    PaintTitle(img, p, font, s);
    Bevel(img, 0, 44, 320, 156, p.panel_light, p.panel_dark);
    FillRect(img, 2, 56, 316, 1, p.panel_light);
    FillRect(img, 2, 77, 316, 1, p.panel_dark);
    FillRect(img, 2, 78, 316, 1, p.panel_light);
    PaintFields(img, p, font, s);
    PaintControls(img, p, font, s);
    // Toggle sockets last: two of them sit on the menu title buttons.
    for (int x : kToggleX)
        FillRect(img, x, kToggleY, 6, 6, p.lamp_socket);
    PaintDrives(img, p, font, s);
    PaintMaps(img, p, font, s);
    FillRect(img, 0, 185, 320, 1, p.panel_dark);
    FillRect(img, 0, 186, 320, 12, p.status);
    FillRect(img, 0, 198, 320, 1, p.panel_light);
    *out = img;
    return true;
}
