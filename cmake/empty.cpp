// Lets a library target exist before its folder holds sources of its own.
