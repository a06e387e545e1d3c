// Keeps the forms library non-empty until its first form lands.
