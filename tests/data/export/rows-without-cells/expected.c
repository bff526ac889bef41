
const unsigned short Default[] = {




};
