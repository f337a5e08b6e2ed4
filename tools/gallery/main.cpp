// gallery.exe: shows one of every control of the widget layer.
#include "tools/gallery/gallery_form.h"
#include "ui/application.h"

int main()
{
    ui::app().set_title("Olvex gallery");
    gallery::GalleryForm form;
    ui::app().run();
    return 0;
}
