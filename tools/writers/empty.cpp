// Keeps the library non-empty before any writer exists.
