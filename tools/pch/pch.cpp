// The translation unit that builds the shared precompiled header of Qt.
