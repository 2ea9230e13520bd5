// Keeps a folder library buildable before its first source exists.
