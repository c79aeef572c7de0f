#pragma once

#include <cstddef>

// The page's side of the web window system (WebPage.js), as the C++ side calls it. Texts are
// UTF-8; sizes and positions are CSS pixels at 100 %.
extern "C" {
void avo_web_window_create(int id, const char* name, const char* caption, int bordered, int width,
                           int height, const char* back, const unsigned char* icon,
                           std::size_t iconLength);
void avo_web_window_picture(int id, const unsigned char* file, std::size_t length,
                            const unsigned char* file2x, std::size_t length2x, int width,
                            int height);
void avo_web_control_create(int id, int index, int kind, const char* name, int left, int top,
                            int width, int height, const char* text, const char* toolTip,
                            const char* accessibleName, const char* fore, const char* back,
                            int border, int alignment);
void avo_web_control_picture(int id, int index, const unsigned char* file, std::size_t length,
                             const unsigned char* file2x, std::size_t length2x, int width,
                             int height);
void avo_web_control_font(int id, int index, const char* family, double points, int weight,
                          int italic, int underline, int strikethrough);
void avo_web_list_row(int id, int index, const char* text);
void avo_web_label_heading(int id, int box, int heading);
void avo_web_window_place(int id, int left, int top);
void avo_web_work_area(int* widthAndHeight);
void avo_web_window_frame(int id, int* leftTopWidthHeight);
int avo_web_window_active(int id);
void avo_web_window_show(int id, int initialFocus);
void avo_web_window_destroy(int id);
void avo_web_focus(int id, int index);
void avo_web_set_text(int id, int index, const char* text);
void avo_web_set_font_size(int id, int index, double points);
int avo_web_selected_row(int id, int index);
void avo_web_set_timer(int id, int index, int intervalMs);
int avo_web_open_site(const char* address);
void avo_web_program_ended();
}
