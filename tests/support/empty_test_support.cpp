// Test support library anchor.
