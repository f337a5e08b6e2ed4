// The menu bar's icons and starting states.
#include "app/main_menu.h"

#include "app/glyphs.h"
#include "tx/keyboard_send.h"

MainMenuBar::MainMenuBar(ui::Form& owner) : MainMenu1(owner)
{
    make_menu_images(ImageList1);
    MainMenu1.set_images(&ImageList1);
    MMcon.set_image_index(menu_image::connect);
    MMdiscon.set_image_index(menu_image::disconnect);
    MMcomset.set_image_index(menu_image::settings);
    MMclrrx.set_image_index(menu_image::clear);
    MMsavetxt.set_image_index(menu_image::save);
    MMsavebin.set_image_index(menu_image::save);
    MMtxfile.set_image_index(menu_image::send_file);
    MMtxint.set_image_index(menu_image::send_integer);
    MMtxstr.set_image_index(menu_image::send_string);
    MMtxTab.set_image_index(menu_image::send_tab);
    MMtxEOL.set_image_index(menu_image::send_eol);
    MMtxEOF.set_image_index(menu_image::send_eof);
    MMkeyboard.set_image_index(keyboard_image_off);
    MMhelp.set_image_index(menu_image::help);
    MMexit.set_image_index(menu_image::exit);

    MMas.set_checked(true);
    MMfollow.set_checked(true);
    MMlnCR.set_checked(true);
    // Sending needs a connection.
    for (ui::MenuItem* m :
         {&MMdiscon, &MMtxfile, &MMtxint, &MMtxstr, &MMxfer, &MMtxTab, &MMtxEOL, &MMtxEOF, &MMkeyboard})
        m->set_enabled(false);
    for (ui::MenuItem* m : MQuick.items()) m->set_enabled(false);
}
