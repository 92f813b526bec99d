// A libdumpdec.so that lacks the decoder entry, for the binding's missing-entry case.
extern "C" __attribute__((visibility("default"))) int dumpdec_version() {
    return 0;
}
