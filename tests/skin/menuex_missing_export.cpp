// A menu library that lacks DestroyMenuEx, for the loader's test.
extern "C" __attribute__((visibility("default"))) int CreateMenuEx() { return 0; }
