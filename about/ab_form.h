// The About window TAForm: a borderless box with the program's picture, name,
// version and date, and the authors' mail and web links.
#pragma once

#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/shape.h"

// The authors' details shown in the window.
inline constexpr const char* about_author = "Olvex terminal developers";
inline constexpr const char* about_mail = "olvex-terminal@example.org";
inline constexpr const char* about_web = "www.example.org";
// The program's own page below the web address; the web link opens this.
inline constexpr const char* about_web_page = "http://www.example.org/olvex-terminal/";
// Link colour: red 0, green 0, blue 221.
inline constexpr ui::Color about_link_colour = ui::Color::rgb(0, 0, 221);

class TAForm : public ui::Form {
 public:
    TAForm();

    ui::Panel Panel1{this, "Panel1"};
    ui::Image Image1{&Panel1, "Image1"};
    ui::Panel Panel2{this, "Panel2"};
    ui::Label Label1{&Panel2, "Label1", "Olvex terminal"};
    ui::Shape Shape1{&Panel2, "Shape1"};
    ui::Label Label2{&Panel2, "Label2", ""};
    ui::Label Label8{&Panel2, "Label8", "V1.36"};
    ui::Label Label3{&Panel2, "Label3", "9.8.2017 "};
    ui::Shape Shape2{&Panel2, "Shape2"};
    ui::Label Label4{&Panel2, "Label4", "Author: "};
    ui::Label Label6{&Panel2, "Label6", about_author};
    ui::Label Label5{&Panel2, "Label5", "E-mail: "};
    ui::Label Label7{&Panel2, "Label7", about_mail};
    ui::Label Label9{&Panel2, "Label9", "www: "};
    ui::Label Label10{&Panel2, "Label10", about_web};

    void FormKeyPress(char& key);
    void CloseClick();  // Image1Click, Panel1Click, Panel2Click, Label1..6Click
    void Label7Click();
    void Label10Click();
    void LinkMouseEnter(ui::Label& link);
    void LinkMouseLeave(ui::Label& link);

 private:
    void build_layout();
};
