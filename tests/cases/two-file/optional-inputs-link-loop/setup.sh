# An update list and a census text that are there but cannot be opened (links to themselves):
# each is read as empty, with a warning.
ln -s frissites.txt frissites.txt && ln -s be.txt be.txt
