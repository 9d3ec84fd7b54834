// Settings shared by the tools of this project.
unit Settings;

interface

const
  DefaultWidth = 640;
  DefaultHeight = 480;

implementation

end.
