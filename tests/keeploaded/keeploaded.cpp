// Preloaded into the real program in the sanitizers' build by the tests that
// draw with Mesa's software renderer: modules stay loaded to the process's
// end. Mesa unloads its driver when Qt closes the display, and LeakSanitizer
// then takes the driver's own data, kept for the process's life, for a leak
// it cannot name or suppress (a 20-line Qt program that draws one triangle
// shows the same). Loaded, the driver still holds it, and nothing of ours
// is hidden.
extern "C" int dlclose(void*)
{
    return 0;
}
