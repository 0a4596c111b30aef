// The program in the browser: takes over the window the page already shows.
#include "about/web/about_web.h"
#include "main_window/web/form1_web.h"

int main() {
    // Lives as long as the page; the runtime stays after main returns.
    static velmora::Form1Web window;
    velmora::about::web::Install();
    window.load();
    return 0;
}
