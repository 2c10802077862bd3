// Placeholder for a source folder that has no files yet.
